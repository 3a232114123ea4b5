// The game's catalog requests with real workers against the reference server: when a sync
// starts, how failures are retried, what a result changes, and the two locks under load.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "catalog/catalog_request.h"
#include "catalog/catalog_sync_state.h"
#include "catalog/tracked_rank.h"
#include "host/log.h"
#include "host/settings.h"
#include "platform/posix/curl_transport.h"
#include "platform/posix/posix_platform.h"
#include "race/frame_driver.h"
#include "sim/sim_chat.h"
#include "sim/sim_world.h"
#include "sim/sim_module.h"
#include "sync_server_fixture.h"

namespace tarvek::testing {
namespace {

using namespace std::chrono_literals;

std::atomic<uint64_t> ticks{0};

class CatalogActivationTest : public SyncServerTest {
protected:
    CatalogActivationTest() {
        sim::resetModuleRaceState();
        Settings& config = settings();
        config.moduleDirectory = client.path().string();
        config.seasonKey = kSeason;
        config.accountKey = kAccount;
        config.allowPlainHttp = true;
        config.receiveTimeoutMs = 4000;
        bindCatalogServices({[] { return ticks.load(); }, [this] {
                                 ++workersMade;
                                 return std::make_shared<CatalogSyncWorker>(platform);
                             }});
        setCurrentCatalogWorker(catalogServices().makeWorker());
        sim::installChatHook(host);
    }
    ~CatalogActivationTest() override { resetCatalogSync(); }

    void serve(const std::vector<std::string>& faults = {}) { settings().apiOrigin = startServer(faults).origin(); }

    // One poll of the game at tick t, then the wait until its worker (if any) has reported.
    void poll(uint64_t t, bool isBigRR = true) {
        ticks = t;
        requestCatalogSynchronization(mapHash, isBigRR, world.world());
        settle();
    }
    void settle() {
        const auto worker = currentCatalogWorker();
        for (int i = 0; i < 1000 && worker->isRunning(); ++i) std::this_thread::sleep_for(10ms);
    }
    int requestsStarted() const { return workersMade - 1; }
    uint64_t generation() const { return catalogSyncState().catalogGeneration; }

    std::shared_ptr<const Platform> platform = std::make_shared<PosixPlatform>(makeCurlTransport({}));
    std::atomic<int> workersMade{0};
    sim::SimHost host;
    sim::SimWorld world{host.space()};
    sim::SimChat chat{host, world.world()};
    CapturedLog log;
};

// Failures wait 3 s, 6 s, 12 s; the third ends the retries of its key. Once the attempt started
// only a tracked rank is retried, and its third failure is told once.
TEST_F(CatalogActivationTest, FailedFetchesAreRetriedWithGrowingWaitsWithinTheBudget) {
    serve({"/v1/=status:500"});
    const struct {
        uint64_t tick;
        bool attemptStarted;
        int32_t track;  // a !track rank given before the poll, -1 for none
        int started;
    } polls[] = {{0, false, -1, 1},     {2999, false, -1, 1},   {3000, true, -1, 1},    {3000, false, -1, 2},
                 {8999, false, -1, 2},  {9000, false, -1, 3},   {99000, false, -1, 3},  {99000, true, 5, 4},
                 {101999, true, -1, 4}, {102000, true, -1, 5},  {108000, true, -1, 6},  {200000, true, -1, 6}};
    for (const auto& step : polls) {
        frameDriver().attemptStarted = step.attemptStarted;
        if (step.track >= 0) beginTrackedRankRequest(step.track);
        poll(step.tick);
        EXPECT_EQ(requestsStarted(), step.started) << "tick " << step.tick;
    }
    EXPECT_TRUE(log.contains("server catalog unavailable: Tarvek API returned HTTP 500; keeping "
                             "last-known-good/local catalog (retry 3/3 before first movement)"));
    noticeTrackedRankFailure(world.world());
    noticeTrackedRankFailure(world.world());
    EXPECT_EQ(chat.printed(),
              std::vector<std::string>{"Tarvek: rank 05 could not be downloaded; try !track 5 again."});
    EXPECT_FALSE(catalogSyncState().trackedRankPending);
    EXPECT_EQ(generation(), 0u);
}

TEST_F(CatalogActivationTest, AChangedKeyCancelsTheRunningWorkerAndStartsAnother) {
    serve({"/v1/=stall:2"});
    const auto cached = [&](const std::string& race) {
        for (const auto& [name, bytes] : clientFiles())
            if (name.rfind("catalog-", 0) == 0 && name.find("-" + race + "-") != std::string::npos) return true;
        return false;
    };
    ticks = 0;
    requestCatalogSynchronization(mapHash, true, world.world());
    const auto first = currentCatalogWorker();
    poll(250, false);
    while (first->isRunning()) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(requestsStarted(), 2);
    EXPECT_FALSE(cached("bigrr"));
    EXPECT_TRUE(cached("ttrr"));
    EXPECT_EQ(generation(), 1u);
    // The cancelled run's result belongs to a replaced request: dropped, not counted as a failure.
    for (const std::string& line : log.lines()) EXPECT_EQ(line.find("unavailable"), std::string::npos) << line;
}

// A 304 with nothing downloaded raises the generation only for a pending tracked rank. Then the
// game thread polls and restarts requests while workers deliver: a running or finished request
// is never started again, and the two locks hold (TSan).
TEST_F(CatalogActivationTest, TheGameThreadPollsWhileWorkersComplete) {
    serve();
    poll(0);
    forgetCatalogRequestForNewWorld();
    poll(1);
    EXPECT_EQ(generation(), 1u);
    EXPECT_NE(log.lines().back().find(", HTTP 304)"), std::string::npos) << log.lines().back();
    int restarts = 1;
    for (int i = 0; i < 2000 && generation() < 4; ++i) {
        if (i % 20 == 0 && ++restarts) beginTrackedRankRequest(0);
        ticks = uint64_t(i) * 250;
        requestCatalogSynchronization(mapHash, true, world.world());
        std::this_thread::sleep_for(2ms);
    }
    settle();
    EXPECT_GE(generation(), 4u);
    EXPECT_LE(requestsStarted(), restarts + 1);
}

}  // namespace
}  // namespace tarvek::testing
