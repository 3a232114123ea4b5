#include "sync/request_validation.h"

#include <array>

#include "sync/sync_error.h"
#include "sync/utf8_to_wide.h"

namespace tarvek {
namespace {

[[noreturn]] void invalid(const std::string& message) { throw SyncError(SyncErrorKind::InvalidRequest, message); }

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool isWindowsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// A host the connection may be given: no white space, controls or URL delimiters (a bracketed
// IPv6 literal comes out of the cracker as a bare "[" and lands here too).
bool isPlausibleHost(std::u16string_view host) {
    for (char16_t c : host)
        if (c <= 0x20 || c == 0x7F || std::u16string_view(u"[]@\\/%<>\"{}|^`").find(c) != std::u16string_view::npos)
            return false;
    return true;
}

constexpr std::array<std::string_view, 4> kRaceTypes = {"TTRR", "BigRR", "TrickRace", "BungeeRace"};

}  // namespace

void validateRequestScope(const CatalogSyncRequest& request) {
    if (request.mapHash.has_value() != request.raceType.has_value())
        invalid("mapHash and raceType must either both be set or both be omitted");
    if (request.trackRank && (!request.isScoped() || *request.trackRank < 1 || *request.trackRank > 999))
        invalid("trackRank requires a scoped map and must be between 1 and 999");
    if (!request.isScoped()) return;
    const std::string& hash = *request.mapHash;
    bool hashOk = hash.size() == 64;
    for (char c : hash) hashOk = hashOk && isHexDigit(c);
    if (!hashOk) invalid("mapHash must be exactly 64 hex digits");
    bool raceOk = false;
    for (std::string_view race : kRaceTypes) raceOk = raceOk || *request.raceType == race;
    if (!raceOk) invalid("raceType is not a supported Tarvek discipline");
}

void validateRequestText(std::string_view name, std::string_view text) {
    if (text.empty() || text.size() > 256)
        invalid(std::string(name) + " must contain between 1 and 256 UTF-8 bytes");
    utf8ToWide(name, text);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) invalid(std::string(name) + " contains a control character");
    }
}

void validateTimeout(int32_t value, std::string_view name) {
    if (value < 1) invalid(std::string(name) + " must be between 1 ms and INT_MAX ms");
}

bool isWindowsAbsolutePath(std::wstring_view path) {
    if (path.size() >= 2 && path[1] == L':' && !isWindowsSeparator(path[0]))
        return path.size() >= 3 && isWindowsSeparator(path[2]);
    // "\\name": the root name runs from the two separators to the next separator.
    if (path.size() >= 3 && isWindowsSeparator(path[0]) && isWindowsSeparator(path[1]) &&
        !isWindowsSeparator(path[2]))
        return true;
    return false;
}

bool isAbsoluteRequestPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return isWindowsAbsolutePath(path.native());
#else
    return !path.empty() && path.native().front() == '/';
#endif
}

ServerOrigin deriveServerOrigin(std::string_view apiBaseUrl, bool allowHttp, const UrlCrackFn& crack) {
    if (apiBaseUrl.empty()) invalid("apiBaseUrl is required");
    const std::u16string wide = utf8ToWide("apiBaseUrl", apiBaseUrl);
    // The cracker reads up to a terminating zero; an embedded one would hide the rest.
    if (wide.find(u'\0') != std::u16string::npos) invalid("apiBaseUrl is not a valid HTTP URL");
    const std::optional<CrackedUrl> url = crack(wide);
    if (!url) invalid("apiBaseUrl is not a valid HTTP URL");
    // "?" and "#" have no place in an origin: wherever the cracker left them (in the host text
    // before any "/", in the port text, or "#" in the path, where some WinHttpCrackUrl versions keep
    // a fragment), they start a query or a fragment.
    if (url->host.empty() || !url->userName.empty() || !url->password.empty() || !url->extraInfo.empty() ||
        wide.find_first_of(u"?#") != std::u16string::npos)
        invalid("apiBaseUrl must be an origin without credentials, query or fragment");
    if (!isPlausibleHost(url->host)) invalid("apiBaseUrl is not a valid HTTP URL");
    if (!url->path.empty() && url->path != u"/") invalid("apiBaseUrl must not contain a path");
    ServerOrigin origin;
    if (url->scheme == UrlScheme::Https) {
        origin.secure = true;
    } else if (url->scheme == UrlScheme::Http) {
        if (!allowHttp) invalid("plain HTTP is disabled; set allowHttp only for a trusted local test server");
        origin.secure = false;
    } else {
        invalid("apiBaseUrl must use HTTPS");
    }
    origin.host = url->host;
    origin.port = url->port;
    return origin;
}

ValidatedSyncRequest validateCatalogSyncRequest(const CatalogSyncRequest& request, const UrlCrackFn& crack,
                                                std::chrono::steady_clock::time_point now) {
    validateRequestText("seasonKey", request.seasonKey);
    if (request.playerAccountKey) validateRequestText("playerAccountKey", *request.playerAccountKey);
    if (request.playerName) validateRequestText("playerName", *request.playerName);
    validateRequestScope(request);
    if (!isAbsoluteRequestPath(request.catalogPath) || !isAbsoluteRequestPath(request.cacheDirectory))
        invalid("catalogPath and cacheDirectory must be absolute paths");
    validateTimeout(request.resolveTimeoutMs, "resolve timeout");
    validateTimeout(request.connectTimeoutMs, "connect timeout");
    validateTimeout(request.sendTimeoutMs, "send timeout");
    validateTimeout(request.receiveTimeoutMs, "receive timeout");
    validateTimeout(request.overallTimeoutMs, "overall timeout");
    ValidatedSyncRequest validated;
    validated.deadline = now + std::chrono::milliseconds(request.overallTimeoutMs);
    validated.origin = deriveServerOrigin(request.apiBaseUrl, request.allowHttp, crack);
    return validated;
}

}  // namespace tarvek
