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
#include "race/race_state.h"
#include "sim/sim_chat.h"
#include "sim/sim_world.h"
#include "sim/sim_worm.h"
#include "support/ghost_files.h"
#include "support/race_host.h"
#include "support/sim_map.h"
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
        config.connectTimeoutMs = 1000;
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

TEST_F(CatalogActivationTest, FailedFetchesAreRetriedAfterThreeSixAndTwelveSecondsAndThenNoMore) {
    serve({"/v1/=status:500"});
    const struct {
        uint64_t tick;
        int started;
    } polls[] = {{0, 1}, {2999, 1}, {3000, 2}, {8999, 2}, {9000, 3}, {21000, 3}, {100000, 3}};
    for (const auto& step : polls) {
        poll(step.tick);
        EXPECT_EQ(requestsStarted(), step.started) << "tick " << step.tick;
    }
    EXPECT_TRUE(log.contains("server catalog unavailable: Tarvek API returned HTTP 500; keeping "
                             "last-known-good/local catalog (retry 3/3 before first movement)"));
    EXPECT_EQ(generation(), 0u);
}

TEST_F(CatalogActivationTest, NothingIsRequestedWhileARequestRunsOrAfterItSucceeded) {
    serve({"/v1/=stall:1"});
    ticks = 0;
    requestCatalogSynchronization(mapHash, true, world.world());
    poll(250);
    EXPECT_EQ(requestsStarted(), 1);
    EXPECT_EQ(generation(), 1u);
    poll(500);
    EXPECT_EQ(requestsStarted(), 1);
}

TEST_F(CatalogActivationTest, AStartedAttemptStopsRetriesUnlessATrackedRankIsPending) {
    serve({"/v1/=status:500"});
    poll(0);
    frameDriver().attemptStarted = true;
    poll(3000);
    EXPECT_EQ(requestsStarted(), 1);

    beginTrackedRankRequest(5);
    for (const uint64_t t : {3000, 6000, 12000, 40000}) poll(t);
    EXPECT_EQ(requestsStarted(), 4);
    noticeTrackedRankFailure(world.world());
    noticeTrackedRankFailure(world.world());
    EXPECT_EQ(chat.printed(),
              std::vector<std::string>{"Tarvek: rank 05 could not be downloaded; try !track 5 again."});
    EXPECT_FALSE(catalogSyncState().trackedRankPending);
}

TEST_F(CatalogActivationTest, ANotModifiedAnswerRaisesTheGenerationOnlyForAPendingTrackedRank) {
    serve();
    poll(0);
    ASSERT_EQ(generation(), 1u);
    forgetCatalogRequestForNewWorld();
    poll(1);
    EXPECT_EQ(generation(), 1u);
    EXPECT_NE(log.lines().back().find(", HTTP 304)"), std::string::npos) << log.lines().back();
    beginTrackedRankRequest(0);
    poll(2);
    EXPECT_EQ(generation(), 2u);
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
}

TEST_F(CatalogActivationTest, AnIdentifiedMapIsRequestedAndItsLateCatalogJoinsTheRunningBigRRAttempt) {
    const std::string hash = referenceTerrainHash(patternTerrain(4, 3, 1), 4, 3);
    const std::string ghostSha = data.addGhost(encodeGhost(framesWithSegments(std::vector<uint32_t>(20, 0))));
    data.writeBoard(kSeason, hash, "BigRR", {"1|acc-wr|Ann|01:00.00|" + ghostSha});
    serve({"/v1/=stall:1"});
    sim::installFrameDriver(host);
    host.setSchemeTurnTime(30);
    giveWorldAMap(host.space(), world, 4, 3, 1);
    world.setFeedbackGates(0, 0);
    sim::SimGame game(host, world);
    game.addWorm(1, 1).script(activeFrames(straightRun(2, 20, 100, 100, 1)));

    game.runFrames(1);
    EXPECT_EQ(requestsStarted(), 1);
    game.runFrames(6);
    ASSERT_TRUE(raceState().raceStarted);
    ASSERT_TRUE(goldGhost().empty());
    settle();
    const uint32_t raced = raceState().raceFrames;
    ASSERT_GT(raced, 0u);
    game.runFrames(1);
    EXPECT_TRUE(log.contains("late catalog activation joined the current BigRR attempt at logical segment 0, "
                             "elapsed frame " + std::to_string(raced)));
    ASSERT_EQ(goldGhost().frames.size(), 20u);
    // The ghost shows the frame its movement start plus the frames raced reach, as the live worm.
    EXPECT_EQ(raceState().slots[kGoldSlot].currentFrame, &goldGhost().frames[1 + raced]);
}

// The game thread polls and restarts requests while workers deliver their results.
TEST_F(CatalogActivationTest, TheGameThreadPollsWhileWorkersComplete) {
    serve();
    for (int i = 0; i < 2000 && generation() < 4; ++i) {
        if (i % 20 == 19) beginTrackedRankRequest(0);
        ticks = uint64_t(i) * 250;
        requestCatalogSynchronization(mapHash, true, world.world());
        std::this_thread::sleep_for(2ms);
    }
    settle();
    EXPECT_GE(generation(), 4u);
}

}  // namespace
}  // namespace tarvek::testing
