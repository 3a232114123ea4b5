#include "sync/url_cracker.h"

namespace tarvek {
namespace {

constexpr uint16_t kDefaultHttpPort = 80;
constexpr uint16_t kDefaultHttpsPort = 443;

bool equalsIgnoreCase(std::u16string_view text, std::u16string_view lowerWord) {
    if (text.size() != lowerWord.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != lowerWord[i]) return false;
    }
    return true;
}

// The port text after ":" is read as far as its leading digits go ("12ab" is 12, "+5" is 0);
// an empty text means the scheme's default; a value above 65535 fails the whole URL.
bool parsePort(std::u16string_view text, uint16_t defaultPort, uint16_t& port) {
    if (text.empty()) {
        port = defaultPort;
        return true;
    }
    uint32_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') break;
        value = value * 10 + static_cast<uint32_t>(c - u'0');
        if (value > 65535) return false;
    }
    port = static_cast<uint16_t>(value);
    return true;
}

// host[:port] with the port rules above.
bool splitHostAndPort(std::u16string_view text, uint16_t defaultPort, CrackedUrl& url) {
    const size_t colon = text.find(u':');
    url.host = std::u16string(text.substr(0, colon));
    if (colon == std::u16string_view::npos) {
        url.port = defaultPort;
        return true;
    }
    return parsePort(text.substr(colon + 1), defaultPort, url.port);
}

}  // namespace

std::optional<CrackedUrl> crackUrlPortable(std::u16string_view text) {
    CrackedUrl url;
    const size_t schemeEnd = text.find(u':');
    if (schemeEnd == std::u16string_view::npos) return std::nullopt;
    const std::u16string_view scheme = text.substr(0, schemeEnd);
    uint16_t defaultPort;
    if (equalsIgnoreCase(scheme, u"http")) {
        url.scheme = UrlScheme::Http;
        defaultPort = kDefaultHttpPort;
    } else if (equalsIgnoreCase(scheme, u"https")) {
        url.scheme = UrlScheme::Https;
        defaultPort = kDefaultHttpsPort;
    } else {
        return std::nullopt;
    }
    std::u16string_view rest = text.substr(schemeEnd + 1);
    if (rest.substr(0, 2) != u"//") return std::nullopt;
    rest.remove_prefix(2);
    if (rest.empty()) return std::nullopt;

    // User information: up to the first "@", unless a "/" comes before it.
    const size_t at = rest.find(u'@');
    if (at != std::u16string_view::npos && rest.substr(0, at).find(u'/') == std::u16string_view::npos) {
        const std::u16string_view userInfo = rest.substr(0, at);
        const size_t colon = userInfo.find(u':');
        url.userName = std::u16string(userInfo.substr(0, colon));
        if (colon != std::u16string_view::npos) url.password = std::u16string(userInfo.substr(colon + 1));
        rest.remove_prefix(at + 1);
    }

    // The authority ends at the first "/" only; "?" and "#" before it stay in the host text.
    const size_t slash = rest.find(u'/');
    if (!splitHostAndPort(rest.substr(0, slash), defaultPort, url)) return std::nullopt;
    if (slash == std::u16string_view::npos) return url;
    const std::u16string_view pathAndQuery = rest.substr(slash);
    const size_t query = pathAndQuery.find(u'?');
    url.path = std::u16string(pathAndQuery.substr(0, query));
    if (query != std::u16string_view::npos) url.extraInfo = std::u16string(pathAndQuery.substr(query));
    return url;
}

}  // namespace tarvek
