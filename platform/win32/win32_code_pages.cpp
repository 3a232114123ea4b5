#include "platform/win32/win32_code_pages.h"

#include <windows.h>

#include <limits>

namespace tarvek::win32 {
namespace {

bool fitsInt(size_t size) { return size <= static_cast<size_t>(std::numeric_limits<int>::max()); }

}  // namespace

std::optional<std::u16string> Win32CodePageConverter::toWide(std::string_view text, uint32_t codePage) const {
    if (text.empty() || !fitsInt(text.size())) return std::nullopt;
    const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (needed <= 0) return std::nullopt;
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    if (MultiByteToWideChar(codePage, flags, text.data(), length, wide.data(), needed) != needed) return std::nullopt;
    return std::u16string(wide.begin(), wide.end());
}

std::optional<std::string> Win32CodePageConverter::fromWide(std::u16string_view text, uint32_t codePage) const {
    if (text.empty() || !fitsInt(text.size())) return std::nullopt;
    const std::wstring wide(text.begin(), text.end());
    const int length = static_cast<int>(wide.size());
    // UTF-8 takes no default-character report.
    BOOL usedDefault = FALSE;
    BOOL* report = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int needed = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, report);
    if (needed <= 0) return std::nullopt;
    std::string narrow(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(codePage, 0, wide.data(), length, narrow.data(), needed, nullptr, report) != needed)
        return std::nullopt;
    return narrow;
}

}  // namespace tarvek::win32
