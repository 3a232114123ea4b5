// WinHTTP, BCrypt and Win32 files against the reference server. tests/win32/run_sync_tests.sh
// starts the servers natively and runs this program under wine64 with their origins in
// TARVEK_SYNC_SERVERS ("name=origin;..."); without it these tests are skipped.
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/win32/win32_platform.h"
#include "support/temp_dir.h"
#include "sync/sha256_hasher.h"
#include "sync/synchronize_catalog.h"

namespace tarvek::testing {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::map<std::string, std::string> serverOrigins() {
    std::map<std::string, std::string> origins;
    const std::string list = environment("TARVEK_SYNC_SERVERS");
    size_t start = 0;
    while (start < list.size()) {
        const size_t end = std::min(list.find(';', start), list.size());
        const std::string entry = list.substr(start, end - start);
        if (const auto eq = entry.find('='); eq != std::string::npos) origins[entry.substr(0, eq)] = entry.substr(eq + 1);
        start = end + 1;
    }
    return origins;
}

class WinHttpSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        origins = serverOrigins();
        if (origins.empty()) GTEST_SKIP() << "run through tests/win32/run_sync_tests.sh";
    }

    CatalogSyncRequest request(const std::string& server) const {
        CatalogSyncRequest request;
        request.apiBaseUrl = origins.at(server);
        request.seasonKey = environment("TARVEK_SYNC_SEASON");
        request.playerAccountKey = environment("TARVEK_SYNC_ACCOUNT");
        request.mapHash = environment("TARVEK_SYNC_MAP_HASH");
        request.raceType = "BigRR";
        request.cacheDirectory = dir.path() / "wkTarvek.cache";
        request.catalogPath = request.cacheDirectory / "catalog.ini";
        request.allowHttp = true;
        request.resolveTimeoutMs = request.connectTimeoutMs = request.sendTimeoutMs = 1000;
        request.receiveTimeoutMs = 1500;
        request.overallTimeoutMs = 30000;
        return request;
    }

    CatalogSyncResult run(const CatalogSyncRequest& request) {
        const std::atomic<bool> cancel{false};
        return synchronizeCatalog(request, cancel, win32::Win32Platform());
    }

    std::map<std::string, std::string> cacheFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "wkTarvek.cache"))
            files[entry.path().filename().string()] = cacheSha256Hex(win32::Win32Platform(nullptr), readFileBytes(entry.path().string()));
        return files;
    }

    std::map<std::string, std::string> origins;
    TempDir dir;
};

TEST_F(WinHttpSyncTest, DownloadsThenRevalidatesWith304) {
    const CatalogSyncResult first = run(request("plain"));
    ASSERT_EQ(first.errorKind, SyncErrorKind::None) << first.message;
    EXPECT_EQ(first.downloadedCount, 4u);
    EXPECT_EQ(first.assets[0].sha256, environment("TARVEK_SYNC_WR_SHA"));
    const auto committed = cacheFiles();
    EXPECT_EQ(committed.size(), 6u);

    const CatalogSyncResult second = run(request("plain"));
    ASSERT_EQ(second.errorKind, SyncErrorKind::None) << second.message;
    EXPECT_TRUE(second.catalogNotModified);
    EXPECT_EQ(second.httpStatus, 304u);
    EXPECT_EQ(second.reusedCount, 4u);
    EXPECT_EQ(cacheFiles(), committed);
}

struct WineFault {
    const char* server;
    SyncErrorKind kind;
    const char* message;
    enum Prepare { Nothing, StaleGhost, NoSidecar } prepare;
};

class WinHttpSyncFaultTest : public WinHttpSyncTest, public ::testing::WithParamInterface<WineFault> {};

TEST_P(WinHttpSyncFaultTest, FailsAndLeavesTheCommittedCache) {
    const WineFault& fault = GetParam();
    ASSERT_EQ(run(request("plain")).errorKind, SyncErrorKind::None);
    const std::string wrFile = environment("TARVEK_SYNC_WR_SHA") + ".tkghost";
    // A stale ghost must be downloaded again to meet a ghost fault; without a sidecar the
    // catalog request is unconditional.
    if (fault.prepare == WineFault::StaleGhost)
        std::ofstream(dir.path() / "wkTarvek.cache" / wrFile, std::ios::binary | std::ios::trunc) << "stale";
    if (fault.prepare == WineFault::NoSidecar) std::filesystem::remove(dir.path() / "wkTarvek.cache" / "catalog.ini.etag");
    const auto before = cacheFiles();
    const CatalogSyncResult result = run(request(fault.server));
    std::string message = fault.message;
    if (const auto at = message.find("%WR%"); at != std::string::npos) message.replace(at, 4, "wkTarvek.cache\\" + wrFile);
    EXPECT_EQ(std::string(syncErrorKindName(result.errorKind)), syncErrorKindName(fault.kind));
    EXPECT_EQ(result.message, message);
    EXPECT_EQ(cacheFiles(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WinHttpSyncFaultTest,
    ::testing::Values(
        WineFault{"redirect", SyncErrorKind::HttpStatus, "Tarvek API returned HTTP 302", WineFault::Nothing},
        WineFault{"notmodified", SyncErrorKind::HttpStatus, "unexpected catalog response HTTP 304", WineFault::NoSidecar},
        WineFault{"badetag", SyncErrorKind::Transport, "HTTP ETag has an invalid shape", WineFault::Nothing},
        WineFault{"chunked", SyncErrorKind::ContentRejected, "HTTP response exceeds the size limit", WineFault::Nothing},
        WineFault{"huge", SyncErrorKind::ContentRejected, "HTTP response exceeds the size limit", WineFault::Nothing},
        WineFault{"wrongghost", SyncErrorKind::ContentRejected, "SHA-256 mismatch for %WR%", WineFault::StaleGhost}),
    [](const ::testing::TestParamInfo<WineFault>& info) { return std::string(info.param.server); });

// Adds the test authority to CurrentUser\Root of the Wine prefix; WinHTTP trusts it from the
// next process on, so the script runs this step alone first.
TEST(WinHttpSyncSetup, TrustTheTestAuthority) {
    const std::string derPath = environment("TARVEK_SYNC_TRUST_CA");
    if (derPath.empty()) GTEST_SKIP() << "no test authority to trust";
    const std::string der = readFileBytes(derPath);
    ASSERT_FALSE(der.empty());
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
    ASSERT_NE(store, nullptr);
    const BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING,
                                                        reinterpret_cast<const BYTE*>(der.data()),
                                                        static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING,
                                                        nullptr);
    CertCloseStore(store, 0);
    EXPECT_TRUE(added) << GetLastError();
}

TEST_F(WinHttpSyncTest, SynchronisesOverHttpsWithATrustedAuthority) {
    if (!origins.count("https")) GTEST_SKIP() << "no HTTPS server";
    CatalogSyncRequest secure = request("https");
    secure.allowHttp = false;
    const CatalogSyncResult result = run(secure);
    ASSERT_EQ(result.errorKind, SyncErrorKind::None) << result.message;
    EXPECT_EQ(result.downloadedCount, 4u);
}

TEST_F(WinHttpSyncTest, AnUntrustedCertificateFails) {
    if (!origins.count("untrusted")) GTEST_SKIP() << "no untrusted HTTPS server";
    CatalogSyncRequest secure = request("untrusted");
    secure.allowHttp = false;
    const CatalogSyncResult result = run(secure);
    EXPECT_EQ(result.errorKind, SyncErrorKind::Transport);
    EXPECT_EQ(result.message.rfind("WinHTTP GET failed (Windows error ", 0), 0u) << result.message;
    EXPECT_FALSE(std::filesystem::exists(secure.catalogPath));
}

}  // namespace
}  // namespace tarvek::testing
