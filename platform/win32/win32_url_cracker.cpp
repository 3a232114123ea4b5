#include "platform/win32/win32_url_cracker.h"

#include <windows.h>
#include <winhttp.h>

namespace tarvek::win32 {
namespace {

std::u16string component(const wchar_t* text, DWORD length) {
    if (text == nullptr || length == 0) return {};
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace

std::optional<CrackedUrl> crackUrlWinHttp(std::u16string_view url) {
    // The call reads up to the terminating zero; a copy guarantees one.
    const std::wstring text(url.begin(), url.end());
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    // -1 everywhere: the call answers with pointers into text instead of copies.
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUserNameLength = static_cast<DWORD>(-1);
    parts.dwPasswordLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(text.c_str(), static_cast<DWORD>(text.size()), 0, &parts)) return std::nullopt;
    CrackedUrl cracked;
    cracked.scheme = parts.nScheme == INTERNET_SCHEME_HTTPS ? UrlScheme::Https
                     : parts.nScheme == INTERNET_SCHEME_HTTP ? UrlScheme::Http
                                                              : UrlScheme::Other;
    cracked.host = component(parts.lpszHostName, parts.dwHostNameLength);
    cracked.port = parts.nPort;
    cracked.userName = component(parts.lpszUserName, parts.dwUserNameLength);
    cracked.password = component(parts.lpszPassword, parts.dwPasswordLength);
    cracked.path = component(parts.lpszUrlPath, parts.dwUrlPathLength);
    cracked.extraInfo = component(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    return cracked;
}

}  // namespace tarvek::win32
