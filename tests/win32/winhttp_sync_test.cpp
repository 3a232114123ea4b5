// WinHTTP, BCrypt and Win32 files against the reference server. tests/win32/run_sync_tests.sh
// starts the servers natively and runs this program under wine64 with their origins in
// TARVEK_SYNC_SERVERS ("name=origin;..."); without it these tests are skipped.
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "platform/win32/win32_platform.h"
#include "support/temp_dir.h"
#include "sync/sha256_hasher.h"
#include "sync/synchronize_catalog.h"
#include "tests/sync/expect_sync_error.h"

namespace tarvek::testing {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::map<std::string, std::string> serverOrigins() {
    std::map<std::string, std::string> origins;
    std::istringstream list(environment("TARVEK_SYNC_SERVERS"));
    for (std::string entry; std::getline(list, entry, ';');)
        if (const auto eq = entry.find('='); eq != std::string::npos) origins[entry.substr(0, eq)] = entry.substr(eq + 1);
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
    ASSERT_EQ(outcome(first), "None HTTP 200, 4 assets: 4 downloaded, 0 reused; catalog synchronized");
    EXPECT_EQ(first.assets[0].sha256, environment("TARVEK_SYNC_WR_SHA"));
    const auto committed = cacheFiles();
    EXPECT_EQ(committed.size(), 6u);
    EXPECT_EQ(outcome(run(request("plain"))),
              "None HTTP 304 (not modified), 4 assets: 0 downloaded, 4 reused; catalog and ghost cache verified");
    EXPECT_EQ(cacheFiles(), committed);
}

// One cut body and one size limit; the committed cache stays as it was.
TEST_F(WinHttpSyncTest, ACutBodyAndAnOversizedCatalogFailAndLeaveTheCache) {
    ASSERT_EQ(run(request("plain")).errorKind, SyncErrorKind::None);
    const auto before = cacheFiles();
    const struct {
        const char* server;
        SyncErrorKind kind;
        const char* messageStart;
    } faults[] = {{"cut", SyncErrorKind::Transport, "WinHttpReadData failed (Windows error "},
                  {"huge", SyncErrorKind::ContentRejected, "HTTP response exceeds the size limit"}};
    for (const auto& fault : faults) {
        const CatalogSyncResult result = run(request(fault.server));
        EXPECT_EQ(std::string(syncErrorKindName(result.errorKind)), syncErrorKindName(fault.kind)) << fault.server;
        EXPECT_EQ(result.message.rfind(fault.messageStart, 0), 0u) << result.message;
        EXPECT_EQ(cacheFiles(), before) << fault.server;
    }
}

// With TARVEK_SYNC_TRUST_CA set, adds that test authority to CurrentUser\Root of the Wine prefix
// and skips every test: WinHTTP trusts it from the next process on.
class TrustTheTestAuthority : public ::testing::Environment {
public:
    void SetUp() override {
        const std::string derPath = environment("TARVEK_SYNC_TRUST_CA");
        if (derPath.empty()) return;
        const std::string der = readFileBytes(derPath);
        HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
        ASSERT_NE(store, nullptr);
        const BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING,
                                                            reinterpret_cast<const BYTE*>(der.data()),
                                                            static_cast<DWORD>(der.size()),
                                                            CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
        CertCloseStore(store, 0);
        ASSERT_TRUE(added) << GetLastError();
        GTEST_SKIP() << "test authority trusted";
    }
};
[[maybe_unused]] ::testing::Environment* const trust = ::testing::AddGlobalTestEnvironment(new TrustTheTestAuthority);

TEST_F(WinHttpSyncTest, SynchronisesOverHttpsWithATrustedAuthority) {
    if (!origins.count("https")) GTEST_SKIP() << "no HTTPS server";
    CatalogSyncRequest secure = request("https");
    secure.allowHttp = false;
    EXPECT_EQ(outcome(run(secure)), "None HTTP 200, 4 assets: 4 downloaded, 0 reused; catalog synchronized");
}

}  // namespace
}  // namespace tarvek::testing
