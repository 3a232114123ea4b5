#pragma once
// Strict UTF-8 to UTF-16 conversion for request fields, with the observable results of
// MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS).
#include <string>
#include <string_view>

#include "host/utf8.h"

namespace tarvek {

// Throws SyncError InvalidRequest: name + " is not valid UTF-8" for a malformed text,
// name + " is too long" when its length does not fit a signed 32-bit count. Empty gives empty.
std::u16string utf8ToWide(std::string_view name, std::string_view text);

// The length check on its own, so it is testable without a 2 GiB text.
void checkConvertibleLength(std::string_view name, size_t byteCount);

}  // namespace tarvek
