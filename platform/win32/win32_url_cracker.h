#pragma once
// URL cracking with WinHttpCrackUrl: the cracker of the Windows build.
#include "sync/url_cracker.h"

namespace tarvek::win32 {

std::optional<CrackedUrl> crackUrlWinHttp(std::u16string_view url);

}  // namespace tarvek::win32
