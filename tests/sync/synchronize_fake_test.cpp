// Whole synchronisations over the in-memory HTTP seam: validation, commit, budgets and limits
// that are impractical to provoke through a real server.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "catalog_text.h"
#include "expect_sync_error.h"
#include "fake_http_transport.h"
#include "ghostdata/sha256.h"
#include "support/build_platform.h"
#include "support/temp_dir.h"
#include "sync/etag_sidecar.h"
#include "sync/synchronize_catalog.h"

namespace tarvek::testing {
namespace {

const std::string kMapHash = std::string(64, 'd');
constexpr size_t kBig = 67108864;

std::string upperSha(std::string_view bytes) { return upperHex(sha256Hex(bytes)); }

class SynchronizeFakeTest : public ::testing::Test {
protected:
    SynchronizeFakeTest() : transport(std::make_shared<FakeHttpTransport>()) {}

    CatalogSyncRequest request() const { return fakeOriginRequest(dir.path(), kMapHash, "TTRR"); }

    CatalogSyncResult run(CatalogSyncRequest request) {
        request.progress = [this](const std::string& line) { progress.push_back(line); };
        return synchronizeCatalog(request, cancel, BuildPlatform(transport));
    }

    // An answer with these bytes and their upper-case SHA-256.
    static std::pair<FakeResponse, std::string> body(const std::string& bytes) {
        return {FakeResponse{200, {}, {}, fakeBody(bytes)}, upperSha(bytes)};
    }
    // A scoped catalog naming one world-record ghost (no tail); returns its SHA-256.
    std::string serveGhost(const std::pair<FakeResponse, std::string>& ghost) {
        const std::string catalog = scopedMetadata(kMapHash, "TTRR") + "[Map." + kMapHash + ".TTRR]\n" +
                                    ghostEntries("WorldRecord", ghost.second, false);
        transport->answer("/v1/public/catalog/module.ini", FakeResponse{200, {}, u"\"c1\"", fakeBody(catalog)});
        transport->answer("/ghosts/" + ghost.second, ghost.first);
        return ghost.second;
    }
    std::string serveGhost(const std::string& bytes) { return serveGhost(body(bytes)); }
    // An unscoped catalog of one world-record ghost per map, in order.
    void serveUnscoped(const std::vector<std::pair<FakeResponse, std::string>>& ghosts) {
        std::string catalog = "[Catalog]\n";
        int section = 0;
        for (const auto& [response, sha] : ghosts) {
            catalog += "[Map." + std::to_string(++section) + "]\n" + ghostEntries("WorldRecord", sha, false);
            transport->answer("/ghosts/" + sha, response);
        }
        transport->answer("/v1/", FakeResponse{200, {}, {}, fakeBody(catalog)});
    }

    CatalogSyncRequest unscopedRequest() const {
        CatalogSyncRequest unscoped = request();
        unscoped.mapHash.reset();
        unscoped.raceType.reset();
        return unscoped;
    }

    std::vector<std::string> cacheFileNames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(request().cacheDirectory))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    std::shared_ptr<FakeHttpTransport> transport;
    std::atomic<bool> cancel{false};
    std::vector<std::string> progress;
};

TEST_F(SynchronizeFakeTest, ValidationFailuresReachTheResultWithoutAnyNetworkUse) {
    CatalogSyncRequest bad = request();
    bad.seasonKey.clear();
    EXPECT_EQ(outcome(run(bad)),
              "InvalidRequest HTTP 0, 0 assets: 0 downloaded, 0 reused; seasonKey must contain between 1 and 256 UTF-8 bytes");
    EXPECT_EQ(transport->connectionsOpened(), 0);
    EXPECT_EQ(progress, std::vector<std::string>{
                            "Tarvek catalog synchronization failed: seasonKey must contain between 1 and 256 UTF-8 bytes"});
    EXPECT_FALSE(std::filesystem::exists(bad.cacheDirectory));
}

TEST_F(SynchronizeFakeTest, CommitsTheCatalogAndSidecarAfterTheAssets) {
    const std::string ghost = "ghost bytes";
    const std::string sha = serveGhost(ghost);
    const CatalogSyncResult result = run(request());
    ASSERT_EQ(result.errorKind, SyncErrorKind::None) << result.message;
    EXPECT_EQ(cacheFileNames(), (std::vector<std::string>{sha + ".tkghost", "catalog.ini", "catalog.ini.etag"}));
    const auto requests = transport->requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].path.rfind("/v1/public/catalog/module.ini?seasonKey=s&mapHash=" + upperHex(kMapHash), 0), 0u);
    EXPECT_FALSE(requests[0].decompress);
    EXPECT_TRUE(requests[1].decompress);
    const auto sidecar = readFileBytes(etagSidecarPath(request().catalogPath).string());
    EXPECT_EQ(sidecar.substr(0, 20), "TARVEK-ETAG-V2\n\"c1\"\n");
    EXPECT_EQ(progress.front(), "downloading Tarvek module catalog");
    EXPECT_EQ(progress.back(), "Tarvek catalog synchronized (1 downloaded, 0 reused)");
}

TEST_F(SynchronizeFakeTest, AGhostFileNamedLikeTheCatalogIsRefused) {
    const std::string sha = serveGhost("payload");
    CatalogSyncRequest clash = request();
    clash.catalogPath = clash.cacheDirectory / "sub" / ".." / (sha + ".TKGHOST");
    EXPECT_EQ(outcome(run(clash)), "UnsafeAsset HTTP 200, 1 assets: 0 downloaded, 0 reused; GhostFile conflicts with catalogPath");
    EXPECT_TRUE(cacheFileNames().empty());
}

TEST_F(SynchronizeFakeTest, AnOversizedCachedGhostIsDownloadedAgainWithoutBeingRead) {
    const std::string ghost = "small ghost";
    const std::string sha = serveGhost(ghost);
    std::filesystem::create_directories(request().cacheDirectory);
    const auto cached = request().cacheDirectory / (sha + ".tkghost");
    { std::ofstream(cached) << "x"; }
    std::filesystem::resize_file(cached, kBig + 1);
    EXPECT_EQ(outcome(run(request())), "None HTTP 200, 1 assets: 1 downloaded, 0 reused; catalog synchronized");
    EXPECT_EQ(readFileBytes(cached.string()), ghost);
}

TEST_F(SynchronizeFakeTest, AThrowingProgressCallbackDoesNotChangeTheOutcome) {
    serveGhost("ghost");
    CatalogSyncRequest noisy = request();
    noisy.progress = [](const std::string&) { throw std::runtime_error("observer broke"); };
    const CatalogSyncResult result = synchronizeCatalog(noisy, cancel, BuildPlatform(transport));
    EXPECT_EQ(result.errorKind, SyncErrorKind::None) << result.message;
}

TEST_F(SynchronizeFakeTest, ACancelBeforeTheFinalMoveLeavesNothingInPlace) {
    serveGhost("ghost bytes");
    int reads = 0;
    transport->onRead([&] {
        if (++reads == 4) cancel = true;  // the ghost body's last, empty read: after the read loop's check
    });
    const CatalogSyncResult result = run(request());
    EXPECT_EQ(result.errorKind, SyncErrorKind::Cancelled);
    EXPECT_EQ(reads, 4);
    EXPECT_TRUE(cacheFileNames().empty()) << "no ghost moved into place, no temporary file";
}

TEST_F(SynchronizeFakeTest, ACancelBeforeAnAssetAsksForNothingMore) {
    serveUnscoped({body("first ghost"), body("second ghost")});
    ASSERT_EQ(run(unscopedRequest()).errorKind, SyncErrorKind::None);
    const auto stale = request().cacheDirectory / (upperSha("second ghost") + ".tkghost");
    std::ofstream(stale, std::ios::trunc) << "stale";

    CatalogSyncRequest cancelling = unscopedRequest();
    progress.clear();
    cancelling.progress = [&](const std::string& line) {
        progress.push_back(line);
        if (line.rfind("reusing verified ghost", 0) == 0) cancel = true;
    };
    const CatalogSyncResult result = synchronizeCatalog(cancelling, cancel, BuildPlatform(transport));
    EXPECT_EQ(result.errorKind, SyncErrorKind::Cancelled);
    for (const std::string& line : progress) EXPECT_EQ(line.rfind("downloading ghost", 0), std::string::npos) << line;
    EXPECT_EQ(readFileBytes(stale.string()), "stale");
}

TEST_F(SynchronizeFakeTest, TheCatalogIsWrittenBeforeItsSidecar) {
    serveGhost("ghost");
    // A non-empty directory where the sidecar goes: its write fails, after the catalog's.
    std::filesystem::create_directories(etagSidecarPath(request().catalogPath) / "blocker");
    const CatalogSyncResult result = run(request());
    EXPECT_NE(result.errorKind, SyncErrorKind::None);
    EXPECT_EQ(readFileBytes(request().catalogPath.string()).rfind("[Catalog]", 0), 0u) << result.message;
}

TEST_F(SynchronizeFakeTest, WithoutAnHttpClientTheRunFailsAsATransportError) {
    EXPECT_EQ(outcome(synchronizeCatalog(request(), cancel, BuildPlatform(nullptr))),
              "Transport HTTP 0, 0 assets: 0 downloaded, 0 reused; this build has no HTTP client");
}

// The two size budgets hash and write 64 MiB files: too slow under 32-bit emulation.
class SynchronizeBudgetTest : public SynchronizeFakeTest {
protected:
    void SetUp() override {
        if (sizeof(void*) == 4) GTEST_SKIP() << "64 MiB downloads are too slow under qemu-i386";
    }

    // A generated body of size bytes and its upper-case SHA-256.
    static std::pair<FakeResponse, std::string> bigBody(size_t size, unsigned seed) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 2654435761u) >> 13 ^ seed);
        return body(bytes);
    }
};

TEST_F(SynchronizeBudgetTest, TheAggregateBudgetStopsTheThirdDownload) {
    auto [first, firstSha] = bigBody(kBig, 1);
    auto [second, secondSha] = bigBody(kBig, 2);
    serveUnscoped({{first, firstSha}, {second, secondSha}, body("third")});
    EXPECT_EQ(outcome(run(unscopedRequest())),
              "ContentRejected HTTP 200, 3 assets: 2 downloaded, 0 reused; aggregate ghost download budget exceeded");
    // Verified downloads stay; the catalog is not committed.
    std::vector<std::string> expected{firstSha + ".tkghost", secondSha + ".tkghost"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(cacheFileNames(), expected);

    // Reused files do not count: the next run only downloads the third.
    EXPECT_EQ(outcome(run(unscopedRequest())), "None HTTP 200, 3 assets: 1 downloaded, 2 reused; catalog synchronized");
}

TEST_F(SynchronizeBudgetTest, ADownloadMayUseOnlyTheBudgetLeft) {
    // After 64 MiB and one byte, 64 MiB less one byte are left: a 64 MiB ghost is one too many.
    serveUnscoped({bigBody(kBig, 4), body("x"), bigBody(kBig, 5)});
    EXPECT_EQ(outcome(run(unscopedRequest())),
              "ContentRejected HTTP 200, 3 assets: 2 downloaded, 0 reused; ghost download exceeds its size budget");
}

TEST_F(SynchronizeBudgetTest, AnUndeclaredBodyAboveThePerFileLimitIsCutOff) {
    serveGhost(bigBody(kBig + 1, 3));
    EXPECT_EQ(outcome(run(request())),
              "ContentRejected HTTP 200, 1 assets: 0 downloaded, 0 reused; ghost download exceeds its size budget");
    EXPECT_TRUE(cacheFileNames().empty()) << "no temporary file, no catalog";
}

}  // namespace
}  // namespace tarvek::testing
