#include <gtest/gtest.h>

#include "sync/request_validation.h"
#include "sync/sync_error.h"

namespace tarvek {
namespace {

const std::string kHash = "0123456789abcdefABCDEF0123456789abcdef0123456789abcdef0123456789";

CatalogSyncRequest validRequest() {
    CatalogSyncRequest request;
    request.apiBaseUrl = "https://ghosts.example.net";
    request.seasonKey = "season-7";
#ifdef _WIN32
    request.catalogPath = L"C:\\WA\\wkTarvek.cache\\catalog.ini";
    request.cacheDirectory = L"C:\\WA\\wkTarvek.cache";
#else
    request.catalogPath = "/wa/wkTarvek.cache/catalog.ini";
    request.cacheDirectory = "/wa/wkTarvek.cache";
#endif
    request.resolveTimeoutMs = request.connectTimeoutMs = request.sendTimeoutMs = 5000;
    request.receiveTimeoutMs = 30000;
    request.overallTimeoutMs = 120000;
    return request;
}

// The message of the InvalidRequest error a call throws; "accepted" when it throws none.
template <typename Call>
std::string verdict(Call&& call) {
    try {
        call();
    } catch (const SyncError& error) {
        return error.kind() == SyncErrorKind::InvalidRequest ? error.what() : "another kind of error";
    }
    return "accepted";
}

struct RequestCase {
    void (*change)(CatalogSyncRequest&);
    const char* error;  // null: accepted
};

// One change from a valid request each. The first failing check names the error, so a request with
// several faults reports the earliest one in the validation order.
TEST(RequestValidation, EachFieldRuleAndTheOrderOfTheChecks) {
    const char* const kRange = "trackRank requires a scoped map and must be between 1 and 999";
    const char* const kSeason = "seasonKey must contain between 1 and 256 UTF-8 bytes";
    const char* const kScope = "mapHash and raceType must either both be set or both be omitted";
    const char* const kPaths = "catalogPath and cacheDirectory must be absolute paths";
    const RequestCase cases[] = {
        {[](CatalogSyncRequest& r) { r.seasonKey = std::string(256, 's'); }, nullptr},
        {[](CatalogSyncRequest& r) { r.seasonKey = std::string(257, 's'); }, kSeason},
        {[](CatalogSyncRequest& r) { r.seasonKey = ""; }, kSeason},
        {[](CatalogSyncRequest& r) { r.playerName = "Ann\tB"; }, "playerName contains a control character"},
        {[](CatalogSyncRequest& r) { r.playerName = "Ann\x7F"; }, "playerName contains a control character"},
        {[](CatalogSyncRequest& r) { r.playerName = "\xC3\x28\t"; }, "playerName is not valid UTF-8"},
        {[](CatalogSyncRequest& r) { r.playerName = "J\xC3\xBCrgen"; }, nullptr},
        {[](CatalogSyncRequest& r) { r.playerAccountKey = ""; },
         "playerAccountKey must contain between 1 and 256 UTF-8 bytes"},
        {[](CatalogSyncRequest& r) { r.mapHash = kHash; }, kScope},
        {[](CatalogSyncRequest& r) { r.raceType = "BigRR"; }, kScope},
        {[](CatalogSyncRequest& r) { r.trackRank = 3; }, kRange},
        {[](CatalogSyncRequest& r) { r.mapHash = kHash, r.raceType = "BigRR", r.trackRank = 0; }, kRange},
        {[](CatalogSyncRequest& r) { r.mapHash = kHash, r.raceType = "BigRR", r.trackRank = 1000; }, kRange},
        {[](CatalogSyncRequest& r) { r.mapHash = kHash, r.raceType = "BigRR", r.trackRank = -5; }, kRange},
        {[](CatalogSyncRequest& r) { r.mapHash = kHash, r.raceType = "TTRR", r.trackRank = 1; }, nullptr},
        {[](CatalogSyncRequest& r) { r.mapHash = kHash, r.raceType = "TrickRace", r.trackRank = 999; }, nullptr},
        {[](CatalogSyncRequest& r) { r.mapHash = kHash, r.raceType = "BungeeRace"; }, nullptr},
        {[](CatalogSyncRequest& r) { r.mapHash = kHash.substr(1), r.raceType = "BigRR"; },
         "mapHash must be exactly 64 hex digits"},
        {[](CatalogSyncRequest& r) { r.mapHash = kHash.substr(1) + "g", r.raceType = "BigRR"; },
         "mapHash must be exactly 64 hex digits"},
        {[](CatalogSyncRequest& r) { r.mapHash = kHash, r.raceType = "bigrr"; },
         "raceType is not a supported Tarvek discipline"},
        {[](CatalogSyncRequest& r) { r.catalogPath.clear(); }, kPaths},
        {[](CatalogSyncRequest& r) { r.cacheDirectory = "wkTarvek.cache"; }, kPaths},
#ifdef _WIN32
        {[](CatalogSyncRequest& r) { r.cacheDirectory = L"C:wkTarvek.cache"; }, kPaths},
        {[](CatalogSyncRequest& r) { r.cacheDirectory = L"\\\\server\\share\\wkTarvek.cache"; }, nullptr},
#endif
        {[](CatalogSyncRequest& r) { r.receiveTimeoutMs = 0, r.overallTimeoutMs = -1; },
         "receive timeout must be between 1 ms and INT_MAX ms"},
        {[](CatalogSyncRequest& r) { r.resolveTimeoutMs = 0, r.receiveTimeoutMs = 0; },
         "resolve timeout must be between 1 ms and INT_MAX ms"},
        {[](CatalogSyncRequest& r) { r.connectTimeoutMs = 0; }, "connect timeout must be between 1 ms and INT_MAX ms"},
        {[](CatalogSyncRequest& r) { r.sendTimeoutMs = INT32_MIN; }, "send timeout must be between 1 ms and INT_MAX ms"},
        {[](CatalogSyncRequest& r) { r.overallTimeoutMs = 0; }, "overall timeout must be between 1 ms and INT_MAX ms"},
        {[](CatalogSyncRequest& r) { r.apiBaseUrl = "", r.resolveTimeoutMs = 0, r.catalogPath.clear(),
                                     r.raceType = "BigRR", r.seasonKey = ""; }, kSeason},
        {[](CatalogSyncRequest& r) { r.apiBaseUrl = "", r.resolveTimeoutMs = 0, r.catalogPath.clear(),
                                     r.raceType = "BigRR"; }, kScope},
        {[](CatalogSyncRequest& r) { r.apiBaseUrl = "", r.resolveTimeoutMs = 0, r.catalogPath.clear(); }, kPaths},
        {[](CatalogSyncRequest& r) { r.apiBaseUrl = "", r.resolveTimeoutMs = 0; },
         "resolve timeout must be between 1 ms and INT_MAX ms"},
        {[](CatalogSyncRequest& r) { r.apiBaseUrl = ""; }, "apiBaseUrl is required"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        CatalogSyncRequest request = validRequest();
        cases[i].change(request);
        EXPECT_EQ(verdict([&] { validateCatalogSyncRequest(request, crackUrlPortable); }),
                  cases[i].error ? cases[i].error : "accepted") << "case " << i;
    }
}

TEST(RequestValidation, WindowsAbsolutePaths) {
    for (const wchar_t* path : {L"C:\\", L"c:/WA/wkTarvek.cache", L"\\\\server\\share\\x", L"//server/share",
                                L"\\/srv", L"\\\\?\\C:\\long", L"\\\\.\\device", L"\\\\x"})
        EXPECT_TRUE(isWindowsAbsolutePath(path)) << std::wstring(path).size();
    for (const wchar_t* path : {L"", L"C:", L"C:wkTarvek.cache", L"\\WA\\cache", L"/WA", L"\\\\", L"\\\\\\x",
                                L"relative\\x", L"C", L":\\x"})
        EXPECT_FALSE(isWindowsAbsolutePath(path)) << std::wstring(path).size();
}

TEST(RequestValidation, DeadlineIsNowPlusOverallTimeout) {
    CatalogSyncRequest request = validRequest();
    request.overallTimeoutMs = INT32_MAX;
    const auto now = std::chrono::steady_clock::time_point(std::chrono::hours(1));
    const ValidatedSyncRequest validated = validateCatalogSyncRequest(request, crackUrlPortable, now);
    EXPECT_EQ(validated.deadline - now, std::chrono::milliseconds(INT32_MAX));
}

struct OriginCase {
    const char* url;
    const char* error;  // null: accepted
};

TEST(RequestValidation, OriginRules) {
    const OriginCase cases[] = {
        {"https://ghosts.example.net", nullptr},
        {"https://ghosts.example.net/", nullptr},
        {"HTTPS://Ghosts.Example.Net:8443", nullptr},
        {"https://ghosts.example.net/v1", "apiBaseUrl must not contain a path"},
        {"https://ghosts.example.net/#top", "apiBaseUrl must be an origin without credentials, query or fragment"},
        {"https://user@ghosts.example.net", "apiBaseUrl must be an origin without credentials, query or fragment"},
        {"https://ghosts.example.net/?q=1", "apiBaseUrl must be an origin without credentials, query or fragment"},
        {"https://ghosts.example.net#top", "apiBaseUrl must be an origin without credentials, query or fragment"},
        {"https:///", "apiBaseUrl must be an origin without credentials, query or fragment"},
        {"https://", "apiBaseUrl is not a valid HTTP URL"},
        {"ftp://ghosts.example.net", "apiBaseUrl is not a valid HTTP URL"},
        {"https://[::1]:8443", "apiBaseUrl is not a valid HTTP URL"},
        {"http://127.0.0.1:8080", "plain HTTP is disabled; set allowHttp only for a trusted local test server"},
        {"https://h\xC3", "apiBaseUrl is not valid UTF-8"},
    };
    for (const OriginCase& c : cases)
        EXPECT_EQ(verdict([&] { deriveServerOrigin(c.url, false, crackUrlPortable); }), c.error ? c.error : "accepted")
            << c.url;
    EXPECT_EQ(verdict([] { deriveServerOrigin(std::string("https://h\0/x", 12), false, crackUrlPortable); }),
              "apiBaseUrl is not a valid HTTP URL");
}

}  // namespace
}  // namespace tarvek
