// Whole synchronisations through libcurl against the reference server on loopback.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/stat.h>

#include "loopback_peer.h"
#include "platform/posix/curl_transport.h"
#include "platform/posix/posix_platform.h"
#include "sync/etag_sidecar.h"
#include "tests/sync/expect_sync_error.h"
#include "sync_server_fixture.h"

namespace tarvek::testing {
namespace {

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Which file a path names and when it was last written: a rewrite with equal bytes changes it.
std::string identity(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return "absent";
    return std::to_string(st.st_ino) + "@" + std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
}

void overwrite(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST_F(SyncServerTest, FirstRunDownloadsEverythingAndASecondRunRevalidates) {
    startServer();
    const CatalogSyncResult first = run();
    ASSERT_EQ(outcome(first), "None HTTP 200, 4 assets: 4 downloaded, 0 reused; catalog synchronized");
    EXPECT_EQ(first.assets.at(0).size, wrGhost.size());
    EXPECT_EQ(readFileBytes(cachedAssetPath(wrGhostFile())), wrGhost);
    const auto catalogText = readFileBytes(request().catalogPath.string());
    EXPECT_EQ(first.catalogBytes, catalogText.size());
    EXPECT_NE(catalogText.find("GameVersion=3.8.1"), std::string::npos);
    EXPECT_NE(catalogText.find(".Player." + std::string(kAccount) + "]"), std::string::npos);
    const auto filesAfterFirst = clientFiles();
    const auto sidecar = etagSidecarPath(request().catalogPath);
    const std::string catalogIdentity = identity(request().catalogPath), sidecarIdentity = identity(sidecar);

    progress.clear();
    EXPECT_EQ(outcome(run()),
              "None HTTP 304 (not modified), 4 assets: 0 downloaded, 4 reused; catalog and ghost cache verified");
    EXPECT_TRUE(contains(progress, "Tarvek catalog is current (HTTP 304); verifying its WR/PR cache"));
    EXPECT_TRUE(contains(progress, "reusing verified ghost wkTarvek.cache\\" + wrGhostFile()));
    EXPECT_EQ(clientFiles(), filesAfterFirst);
    EXPECT_EQ(identity(request().catalogPath), catalogIdentity) << "a 304 rewrites neither the catalog";
    EXPECT_EQ(identity(sidecar), sidecarIdentity) << "nor its sidecar";

    server.reset();  // the server logs a request after answering it: stop it to read every line
    const std::string log = accessLog();
    EXPECT_NE(log.find("inm=\""), std::string::npos) << "the second catalog request is conditional";
    // gzip is asked for ghosts only.
    EXPECT_NE(log.find(".tkghost ua=wkTarvek/0.0.15 inm= ae=gzip"), std::string::npos);
    EXPECT_NE(log.find("raceType=BigRR&seasonKey=season-1 ua=wkTarvek/0.0.15 inm= ae= status=200"), std::string::npos);
}

TEST_F(SyncServerTest, ACachedGhostWithOneChangedByteIsDownloadedAgain) {
    startServer();
    ASSERT_EQ(run().errorKind, SyncErrorKind::None);
    std::string changed = wrGhost;
    changed[1000] ^= 0x40;
    overwrite(cachedAssetPath(wrGhostFile()), changed);
    const CatalogSyncResult result = run();
    // The status of the last download, not the catalog's 304.
    EXPECT_EQ(outcome(result), "None HTTP 200 (not modified), 4 assets: 1 downloaded, 3 reused; catalog and ghost cache verified");
    EXPECT_TRUE(result.assets.at(0).downloaded);
    EXPECT_EQ(readFileBytes(cachedAssetPath(wrGhostFile())), wrGhost);
}

TEST_F(SyncServerTest, ACatalogThatNoLongerMatchesItsSidecarIsDownloadedAgain) {
    startServer();
    ASSERT_EQ(run().errorKind, SyncErrorKind::None);
    const std::string catalog = readFileBytes(request().catalogPath.string());
    overwrite(request().catalogPath.string(), catalog + "; edited\n");
    progress.clear();
    const CatalogSyncResult result = run();
    ASSERT_EQ(result.errorKind, SyncErrorKind::None) << result.message;
    EXPECT_TRUE(contains(progress, "cached catalog did not match its ETag sidecar; downloading it again"));
    EXPECT_EQ(result.httpStatus, 200u);
    EXPECT_EQ(readFileBytes(request().catalogPath.string()), catalog);
}

TEST_F(SyncServerTest, AServerThatStopsSendingAnEtagMakesTheSidecarDisappear) {
    startServer();
    ASSERT_EQ(run().errorKind, SyncErrorKind::None);
    const auto sidecar = etagSidecarPath(request().catalogPath);
    ASSERT_TRUE(std::filesystem::exists(sidecar));
    startServer({"/v1/=no-etag"});
    const CatalogSyncResult result = run(request());
    ASSERT_EQ(result.errorKind, SyncErrorKind::None) << result.message;
    EXPECT_FALSE(std::filesystem::exists(sidecar));
    EXPECT_TRUE(std::filesystem::exists(request().catalogPath));
}

TEST_F(SyncServerTest, A304WithoutAValidSidecarIsRejected) {
    startServer({"/v1/=not-modified"});
    EXPECT_EQ(outcome(run()), "HttpStatus HTTP 304, 0 assets: 0 downloaded, 0 reused; unexpected catalog response HTTP 304");
}

TEST_F(SyncServerTest, HeadersDrippingInAreGivenUpAtTheDeadlineOrACancel) {
    const auto drip = startHeaderDripServer(100);
    for (const bool cancel : {false, true}) {
        CatalogSyncRequest stalled = request();
        stalled.apiBaseUrl = drip->origin();
        stalled.overallTimeoutMs = cancel ? 30000 : 1000;
        std::atomic<bool> flag{false};
        std::thread canceller([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(cancel ? 500 : 0));
            flag = cancel;
        });
        const auto started = std::chrono::steady_clock::now();
        const CatalogSyncResult result =
            synchronizeCatalog(stalled, flag, PosixPlatform(makeCurlTransport({})));
        canceller.join();
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
        EXPECT_EQ(result.message, cancel ? "catalog synchronization cancelled"
                                         : "catalog synchronization exceeded its deadline");
    }
}

TEST_F(SyncServerTest, AnUnreachableServerIsATransportFailure) {
    startServer();
    CatalogSyncRequest request = this->request();
    const int port = server->port();
    server.reset();
    request.apiBaseUrl = "http://127.0.0.1:" + std::to_string(port);
    EXPECT_EQ(outcome(run(request)), "Transport HTTP 0, 0 assets: 0 downloaded, 0 reused; WinHTTP GET failed (Windows error 12029)");
}

// A failure after a good synchronisation: what the previous run committed must survive it.
struct FaultCase {
    const char* fault;
    SyncErrorKind kind;
    const char* message;
};

class SyncServerFaultTest : public SyncServerTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(SyncServerFaultTest, FailsWithItsMessageAndKeepsTheCommittedCache) {
    const FaultCase& fault = GetParam();
    startServer();
    ASSERT_EQ(run().errorKind, SyncErrorKind::None);
    // A stale world-record ghost makes the next run download it and meet the ghost faults.
    std::string stale = wrGhost;
    stale[0] ^= 1;
    overwrite(cachedAssetPath(wrGhostFile()), stale);
    const auto before = clientFiles();

    startServer({fault.fault});
    const CatalogSyncResult result = run(request());
    EXPECT_EQ(std::string(syncErrorKindName(result.errorKind)) + ": " + result.message,
              std::string(syncErrorKindName(fault.kind)) + ": " + fault.message) << fault.fault;
    EXPECT_EQ(clientFiles(), before) << "catalog, sidecar and cached files are unchanged, no temporary file";
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SyncServerFaultTest,
    ::testing::Values(
        FaultCase{"/v1/=cut:100", SyncErrorKind::Transport, "WinHttpReadData failed (Windows error 12030)"},
        FaultCase{"/v1/=stall:10", SyncErrorKind::Transport, "WinHTTP GET failed (Windows error 12002)"},
        FaultCase{"/ghosts/=cut:1000", SyncErrorKind::Transport, "WinHttpReadData failed (Windows error 12030)"},
        FaultCase{"/ghosts/=huge-length:67108865", SyncErrorKind::ContentRejected,
                  "HTTP response exceeds the size limit"}));

// HTTPS with an authority this test creates.
class SyncHttpsTest : public SyncServerTest {
protected:
    void SetUp() override {
        const std::string dir = client.path().string();
        const std::string command =
            "cd '" + dir + "' && openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=TarvekTestCA "
            "-keyout ca.key -out ca.pem -addext basicConstraints=critical,CA:TRUE -addext keyUsage=keyCertSign "
            ">/dev/null 2>&1 && openssl req -newkey rsa:2048 -nodes -subj /CN=127.0.0.1 -keyout server.key "
            "-out server.csr >/dev/null 2>&1 && printf 'subjectAltName=IP:127.0.0.1\\n' > ext.cnf && "
            "openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile ext.cnf "
            "-out server.pem >/dev/null 2>&1 && openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=OtherCA "
            "-keyout other.key -out other.pem >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << "openssl could not create the test authority";
        startServer({}, {"--cert", dir + "/server.pem", "--key", dir + "/server.key"});
        ASSERT_EQ(server->origin().rfind("https://", 0), 0u);
    }
};

// The test authority is trusted; another authority's certificate fails the transfer.
TEST_F(SyncHttpsTest, SynchronisesOverHttpsWithTheTrustedTestAuthorityOnly) {
    CatalogSyncRequest secure = request();
    secure.allowHttp = false;
    EXPECT_EQ(outcome(run(secure, (client.path() / "other.pem").string())),
              "Transport HTTP 0, 0 assets: 0 downloaded, 0 reused; WinHTTP GET failed (Windows error 12175)");
    EXPECT_FALSE(std::filesystem::exists(secure.catalogPath));
    EXPECT_EQ(outcome(run(secure, (client.path() / "ca.pem").string())),
              "None HTTP 200, 4 assets: 4 downloaded, 0 reused; catalog synchronized");
}

TEST_F(SyncHttpsTest, SynchronisesThroughAConnectProxy) {
    const auto proxy = startConnectProxy();
    const std::string noProxy = std::getenv("no_proxy") ? std::getenv("no_proxy") : "";
    ::setenv("https_proxy", proxy->origin().c_str(), 1);
    ::unsetenv("no_proxy");
    CatalogSyncRequest secure = request();
    secure.allowHttp = false;
    const CatalogSyncResult result = run(secure, (client.path() / "ca.pem").string());
    ::unsetenv("https_proxy");
    if (!noProxy.empty()) ::setenv("no_proxy", noProxy.c_str(), 1);
    EXPECT_EQ(outcome(result), "None HTTP 200, 4 assets: 4 downloaded, 0 reused; catalog synchronized");
    EXPECT_GE(proxy->connections(), 1);
}

}  // namespace
}  // namespace tarvek::testing
