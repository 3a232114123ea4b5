// The worker thread against the real server: a cancel in the middle of a slow download.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <future>
#include <mutex>

#include "platform/posix/curl_transport.h"
#include "platform/posix/posix_platform.h"
#include "sync/catalog_sync_worker.h"
#include "sync_server_fixture.h"

namespace tarvek::testing {
namespace {

using namespace std::chrono_literals;

// Signals once a progress line with the given start has been seen.
class ProgressWatch {
public:
    explicit ProgressWatch(std::string prefix) : prefix_(std::move(prefix)) {}
    void attach(CatalogSyncRequest& request) {
        request.progress = [this](const std::string& line) {
            std::lock_guard lock(mutex_);
            if (line.rfind(prefix_, 0) == 0) seen_ = true;
            changed_.notify_all();
        };
    }
    bool wait(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [this] { return seen_; });
    }

private:
    std::string prefix_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool seen_ = false;
};

class SyncWorkerServerTest : public SyncServerTest {
protected:
    // A good first run, then a stale world-record ghost that the next run must download slowly.
    void prepareSlowDownload() {
        startServer();
        ASSERT_EQ(run().errorKind, SyncErrorKind::None);
        std::string stale = wrGhost;
        stale[0] ^= 1;
        std::ofstream(cachedAssetPath(wrGhostSha + ".tkghost"), std::ios::binary | std::ios::trunc) << stale;
        before = clientFiles();
        // 300000 bytes in 4 KiB pieces 40 ms apart: about three seconds.
        startServer({"/ghosts/=trickle:40"});
    }

    std::unique_ptr<CatalogSyncWorker> makeWorker() {
        return std::make_unique<CatalogSyncWorker>(std::make_shared<PosixPlatform>(makeCurlTransport({})));
    }

    std::map<std::string, std::string> before;
};

TEST_F(SyncWorkerServerTest, CancellingDuringADownloadEndsTheRunAndKeepsTheCache) {
    prepareSlowDownload();
    auto worker = makeWorker();
    CatalogSyncRequest request = this->request();
    ProgressWatch downloading("downloading ghost");
    downloading.attach(request);
    std::promise<CatalogSyncResult> delivered;
    ASSERT_TRUE(worker->start(request, [&](CatalogSyncResult result) { delivered.set_value(std::move(result)); }));
    ASSERT_TRUE(downloading.wait(5s));
    std::this_thread::sleep_for(200ms);
    const auto cancelledAt = std::chrono::steady_clock::now();
    worker->requestCancel();
    auto future = delivered.get_future();
    ASSERT_EQ(future.wait_for(5s), std::future_status::ready);
    EXPECT_LT(std::chrono::steady_clock::now() - cancelledAt, 1s);
    const CatalogSyncResult result = future.get();
    EXPECT_EQ(result.errorKind, SyncErrorKind::Cancelled);
    EXPECT_EQ(result.message, "catalog synchronization cancelled");
    for (int i = 0; i < 100 && worker->isRunning(); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(worker->isRunning());
    EXPECT_EQ(clientFiles(), before);
}

}  // namespace
}  // namespace tarvek::testing
