#include <gtest/gtest.h>

#include "sync/request_validation.h"
#include "sync/sync_error.h"
#include "tests/sync/expect_sync_error.h"

namespace tarvek {
namespace {

using testing::failsWith;

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

::testing::AssertionResult rejects(const CatalogSyncRequest& request, const std::string& message) {
    return failsWith([&] { validateCatalogSyncRequest(request, crackUrlPortable); }, SyncErrorKind::InvalidRequest,
                     message);
}

TEST(RequestValidation, TextLengthUtf8AndControlBytes) {
    CatalogSyncRequest request = validRequest();
    request.seasonKey = std::string(256, 's');
    EXPECT_NO_THROW(validateCatalogSyncRequest(request, crackUrlPortable));
    request.seasonKey = std::string(257, 's');
    EXPECT_TRUE(rejects(request, "seasonKey must contain between 1 and 256 UTF-8 bytes"));
    request.seasonKey = "";
    EXPECT_TRUE(rejects(request, "seasonKey must contain between 1 and 256 UTF-8 bytes"));

    request = validRequest();
    request.playerName = "Ann\tB";
    EXPECT_TRUE(rejects(request, "playerName contains a control character"));
    request.playerName = "Ann\x7F";
    EXPECT_TRUE(rejects(request, "playerName contains a control character"));
    // Malformed UTF-8 is reported before the control byte that follows it.
    request.playerName = "\xC3\x28\t";
    EXPECT_TRUE(rejects(request, "playerName is not valid UTF-8"));
    request.playerName = "J\xC3\xBCrgen";
    EXPECT_NO_THROW(validateCatalogSyncRequest(request, crackUrlPortable));
    request.playerAccountKey = "";
    EXPECT_TRUE(rejects(request, "playerAccountKey must contain between 1 and 256 UTF-8 bytes"));
}

TEST(RequestValidation, ScopeAndTrackRank) {
    CatalogSyncRequest request = validRequest();
    request.mapHash = kHash;
    EXPECT_TRUE(rejects(request, "mapHash and raceType must either both be set or both be omitted"));
    request.mapHash.reset();
    request.raceType = "BigRR";
    EXPECT_TRUE(rejects(request, "mapHash and raceType must either both be set or both be omitted"));

    request = validRequest();
    request.trackRank = 3;
    EXPECT_TRUE(rejects(request, "trackRank requires a scoped map and must be between 1 and 999"));
    request.mapHash = kHash;
    request.raceType = "BigRR";
    for (int rank : {0, 1000, -5}) {
        request.trackRank = rank;
        EXPECT_TRUE(rejects(request, "trackRank requires a scoped map and must be between 1 and 999")) << rank;
    }
    for (int rank : {1, 999}) {
        request.trackRank = rank;
        EXPECT_NO_THROW(validateCatalogSyncRequest(request, crackUrlPortable)) << rank;
    }

    request.mapHash = kHash.substr(1);
    EXPECT_TRUE(rejects(request, "mapHash must be exactly 64 hex digits"));
    request.mapHash = kHash.substr(1) + "g";
    EXPECT_TRUE(rejects(request, "mapHash must be exactly 64 hex digits"));
    request.mapHash = kHash;
    request.raceType = "bigrr";
    EXPECT_TRUE(rejects(request, "raceType is not a supported Tarvek discipline"));
    for (const char* race : {"TTRR", "BigRR", "TrickRace", "BungeeRace"}) {
        request.raceType = race;
        EXPECT_NO_THROW(validateCatalogSyncRequest(request, crackUrlPortable)) << race;
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

TEST(RequestValidation, PathsMustBeAbsoluteInThisBuild) {
    CatalogSyncRequest request = validRequest();
    request.catalogPath.clear();
    EXPECT_TRUE(rejects(request, "catalogPath and cacheDirectory must be absolute paths"));
    request = validRequest();
    request.cacheDirectory = "wkTarvek.cache";
    EXPECT_TRUE(rejects(request, "catalogPath and cacheDirectory must be absolute paths"));
#ifdef _WIN32
    request.cacheDirectory = L"C:wkTarvek.cache";
    EXPECT_TRUE(rejects(request, "catalogPath and cacheDirectory must be absolute paths"));
    request.cacheDirectory = L"\\\\server\\share\\wkTarvek.cache";
    EXPECT_NO_THROW(validateCatalogSyncRequest(request, crackUrlPortable));
#endif
}

TEST(RequestValidation, TimeoutsInOrder) {
    CatalogSyncRequest request = validRequest();
    request.receiveTimeoutMs = 0;
    request.overallTimeoutMs = -1;
    EXPECT_TRUE(rejects(request, "receive timeout must be between 1 ms and INT_MAX ms"));
    request.resolveTimeoutMs = 0;
    EXPECT_TRUE(rejects(request, "resolve timeout must be between 1 ms and INT_MAX ms"));
    request = validRequest();
    request.connectTimeoutMs = 0;
    EXPECT_TRUE(rejects(request, "connect timeout must be between 1 ms and INT_MAX ms"));
    request = validRequest();
    request.sendTimeoutMs = INT32_MIN;
    EXPECT_TRUE(rejects(request, "send timeout must be between 1 ms and INT_MAX ms"));
    request = validRequest();
    request.overallTimeoutMs = 0;
    EXPECT_TRUE(rejects(request, "overall timeout must be between 1 ms and INT_MAX ms"));
}

TEST(RequestValidation, DeadlineIsNowPlusOverallTimeout) {
    CatalogSyncRequest request = validRequest();
    request.overallTimeoutMs = INT32_MAX;
    const auto now = std::chrono::steady_clock::time_point(std::chrono::hours(1));
    const ValidatedSyncRequest validated = validateCatalogSyncRequest(request, crackUrlPortable, now);
    EXPECT_EQ(validated.deadline - now, std::chrono::milliseconds(INT32_MAX));
}

TEST(RequestValidation, ValidationOrderStopsAtFirstFailure) {
    CatalogSyncRequest request = validRequest();
    request.apiBaseUrl = "";
    request.resolveTimeoutMs = 0;
    request.catalogPath.clear();
    request.raceType = "BigRR";
    request.seasonKey = "";
    EXPECT_TRUE(rejects(request, "seasonKey must contain between 1 and 256 UTF-8 bytes"));
    request.seasonKey = "s";
    EXPECT_TRUE(rejects(request, "mapHash and raceType must either both be set or both be omitted"));
    request.raceType.reset();
    EXPECT_TRUE(rejects(request, "catalogPath and cacheDirectory must be absolute paths"));
    request.catalogPath = validRequest().catalogPath;
    EXPECT_TRUE(rejects(request, "resolve timeout must be between 1 ms and INT_MAX ms"));
    request.resolveTimeoutMs = 1;
    EXPECT_TRUE(rejects(request, "apiBaseUrl is required"));
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
    for (const OriginCase& c : cases) {
        if (c.error) {
            EXPECT_TRUE(failsWith([&] { deriveServerOrigin(c.url, false, crackUrlPortable); },
                                  SyncErrorKind::InvalidRequest, c.error))
                << c.url;
        } else {
            EXPECT_NO_THROW(deriveServerOrigin(c.url, false, crackUrlPortable)) << c.url;
        }
    }
    EXPECT_TRUE(failsWith([&] { deriveServerOrigin(std::string("https://h\0/x", 12), false, crackUrlPortable); },
                          SyncErrorKind::InvalidRequest, "apiBaseUrl is not a valid HTTP URL"));
}

}  // namespace
}  // namespace tarvek
