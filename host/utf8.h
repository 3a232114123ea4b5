#pragma once
// Strict UTF-8 and UTF-16 conversions with the observable results of the Windows calls:
// MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS) refuses malformed, overlong, surrogate and
// out-of-range sequences; WideCharToMultiByte(CP_UTF8, 0) turns an unpaired surrogate into U+FFFD.
#include <optional>
#include <string>
#include <string_view>

namespace tarvek {

// UTF-16 of a well-formed UTF-8 text; empty optional when any sequence is malformed.
std::optional<std::u16string> utf8ToUtf16Strict(std::string_view text);

// UTF-8 of a UTF-16 text.
std::string wideToUtf8(std::u16string_view text);

}  // namespace tarvek
