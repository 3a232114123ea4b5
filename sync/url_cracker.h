#pragma once
// Splitting an origin URL into its parts with the observable results of WinHttpCrackUrl (flags 0).
// The Windows platform uses the real call (platform/win32/win32_url_cracker.h); every other one uses
// crackUrlPortable, which a differential test under wine64 holds to the same answers.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarvek {

enum class UrlScheme { Http, Https, Other };

struct CrackedUrl {
    UrlScheme scheme = UrlScheme::Other;
    std::u16string host;
    uint16_t port = 0;  // the URL's port, or the scheme's default
    std::u16string userName;
    std::u16string password;
    std::u16string path;
    std::u16string extraInfo;  // query and fragment, with their leading "?" or "#"
};

// Empty when the URL cannot be cracked (the call failed).
using UrlCrackFn = std::function<std::optional<CrackedUrl>(std::u16string_view url)>;

std::optional<CrackedUrl> crackUrlPortable(std::u16string_view url);

}  // namespace tarvek
