// The worker's thread handling over the in-memory HTTP seam; the stress test runs under TSan.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <random>
#include <stdexcept>
#include <thread>

#include "catalog_text.h"
#include "fake_http_transport.h"
#include "ghostdata/sha256.h"
#include "support/build_platform.h"
#include "support/temp_dir.h"
#include "sync/catalog_sync_worker.h"

namespace tarvek::testing {
namespace {

using namespace std::chrono_literals;

class CatalogSyncWorkerTest : public ::testing::Test {
protected:
    CatalogSyncWorkerTest() : transport(std::make_shared<FakeHttpTransport>()) {
        // A ghost body long enough that a run spends a while reading it chunk by chunk.
        const std::string ghost(40 * 65536, 'g');
        const std::string sha = upperHex(sha256Hex(ghost));
        const std::string mapHash(64, 'e');
        transport->answer("/v1/", FakeResponse{200, {}, {},
                                               fakeBody(scopedMetadata(mapHash, "BigRR") + "[Map." + mapHash +
                                                        ".BigRR]\n" + ghostEntries("WorldRecord", sha, false))});
        transport->answer("/ghosts/", FakeResponse{200, {}, {}, fakeBody(ghost)});
        request = fakeOriginRequest(dir.path(), mapHash, "BigRR");
    }

    std::unique_ptr<CatalogSyncWorker> makeWorker() {
        return std::make_unique<CatalogSyncWorker>(std::make_shared<BuildPlatform>(transport));
    }

    TempDir dir;
    std::shared_ptr<FakeHttpTransport> transport;
    CatalogSyncRequest request;
};

TEST_F(CatalogSyncWorkerTest, DeliversOneResultAndBecomesIdleEvenAfterAThrowingCallback) {
    auto worker = makeWorker();
    EXPECT_FALSE(worker->isRunning());
    ASSERT_TRUE(worker->start(request, [](CatalogSyncResult) { throw std::runtime_error("owner failed"); }));
    for (int i = 0; i < 500 && worker->isRunning(); ++i) std::this_thread::sleep_for(10ms);
    ASSERT_FALSE(worker->isRunning());
    std::promise<CatalogSyncResult> delivered;
    ASSERT_TRUE(worker->start(request, [&](CatalogSyncResult result) { delivered.set_value(std::move(result)); }));
    auto future = delivered.get_future();
    ASSERT_EQ(future.wait_for(10s), std::future_status::ready);
    const CatalogSyncResult result = future.get();
    EXPECT_EQ(result.errorKind, SyncErrorKind::None) << result.message;
    EXPECT_EQ(result.reusedCount, 1u) << "the first run committed the ghost";
    for (int i = 0; i < 200 && worker->isRunning(); ++i) std::this_thread::sleep_for(5ms);
    EXPECT_FALSE(worker->isRunning());
}

TEST_F(CatalogSyncWorkerTest, ACallbackMayDestroyItsOwnWorker) {
    std::shared_ptr<CatalogSyncWorker> worker = makeWorker();
    std::promise<void> destroyed;
    std::shared_ptr<CatalogSyncWorker> self = worker;
    ASSERT_TRUE(worker->start(request, [&, self](CatalogSyncResult) mutable {
        self.reset();  // may be the last owner: the destructor runs on this very thread
        destroyed.set_value();
    }));
    worker.reset();
    ASSERT_EQ(destroyed.get_future().wait_for(10s), std::future_status::ready);
}

TEST_F(CatalogSyncWorkerTest, TwoThreadsRacingStartNeverBothOwnTheThread) {
    auto worker = makeWorker();
    request.trackRank = 1000;  // fails validation: every run ends at once
    // A run's parcel dies slowly, so a start that joins the previous thread lags behind the other.
    struct SlowRelease {
        ~SlowRelease() { std::this_thread::sleep_for(1ms); }
    };
    std::atomic<int> started{0};
    std::atomic<int> delivered{0};
    for (int round = 0; round < 40; ++round) {
        std::atomic<int> ready{0};
        auto race = [&] {
            for (++ready; ready.load() < 2;) {
            }
            auto callback = [&delivered, slow = std::make_shared<SlowRelease>()](CatalogSyncResult) { ++delivered; };
            if (worker->start(request, std::move(callback))) ++started;
        };
        std::thread first(race);
        std::thread second(race);
        first.join();
        second.join();
        while (worker->isRunning()) std::this_thread::sleep_for(100us);
    }
    worker.reset();
    EXPECT_EQ(delivered.load(), started.load());
}

TEST_F(CatalogSyncWorkerTest, StartCancelAndDestroyInAnyOrderNeitherHangNorRace) {
    transport->onRead([] { std::this_thread::sleep_for(100us); });
    std::mt19937 random(7);
    std::atomic<int> deliveries{0};
    int awaited = 0;
    for (int round = 0; round < 60; ++round) {
        auto worker = makeWorker();
        const int plan = static_cast<int>(random() % 4);
        for (int start = 0; start < 3; ++start) {
            worker->start(request, [&](CatalogSyncResult result) {
                EXPECT_TRUE(result.errorKind == SyncErrorKind::None || result.errorKind == SyncErrorKind::Cancelled)
                    << result.message;
                ++deliveries;
            });
            if (plan == 1) worker->requestCancel();
            if (plan == 2) std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
            (void)worker->isRunning();
        }
        if (plan == 3) {
            std::thread canceller([&] { worker->requestCancel(); });
            canceller.join();
        }
        if (plan == 0) {
            // Let this round finish: its last run must be delivered.
            for (int i = 0; i < 2000 && worker->isRunning(); ++i) std::this_thread::sleep_for(5ms);
            EXPECT_FALSE(worker->isRunning());
            ++awaited;
        }
        worker.reset();  // cancels whatever still runs and waits for it
    }
    EXPECT_GE(deliveries.load(), awaited);
}

}  // namespace
}  // namespace tarvek::testing
