#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "host/host_layout.h"
#include "ghostdata/map_geometry_capture.h"
#include "host/log.h"
#include "race/frame_driver.h"
#include "race/map_ghost_pipeline.h"
#include "race/race_callouts.h"
#include "race/race_state.h"
#include "race/race_type.h"
#include "support/race_host.h"

namespace tarvek {
namespace {

using sim::fixedPixels;
using testing::activeFrames;
using testing::concat;
using testing::inactiveFrames;
using testing::recordingFromPaths;
using testing::straightRun;

std::vector<std::string> events;
const sim::SimHost* observedHost = nullptr;

// Every callout is recorded, and the real pipeline start-over still runs.
RaceCallouts recordingCallouts() {
    RaceCallouts callouts = defaultRaceCallouts();
    callouts.runMapAndGhostPipeline = [](HostAddr world) {
        events.push_back("pipeline handled=" + std::to_string(observedHost->hostHandlerMessages().size()) +
                         " attempt=" + std::to_string(frameDriver().attemptStarted));
        runMapAndGhostPipeline(world);
    };
    callouts.prepareGhostGraphics = [](HostAddr, bool force) { events.push_back(force ? "graphics!" : "graphics"); };
    callouts.drawGhost = [](HostAddr, const GhostFrame& frame, bool isBlue) {
        events.push_back(std::string(isBlue ? "draw blue " : "draw gold ") + std::to_string(frame.positionX() >> 16));
    };
    callouts.showEndOfTurnGap = [](HostAddr) { events.push_back("gap"); };
    return callouts;
}

class FrameDriverTest : public testing::RaceHostTest {
protected:
    FrameDriverTest() {
        events.clear();
        observedHost = &host;
        raceCallouts() = recordingCallouts();
    }
    size_t count(const std::string& event) const { return std::count(events.begin(), events.end(), event); }
    size_t epochLines() const {
        size_t lines = 0;
        for (const std::string& line : log.lines()) lines += line.rfind("new match epoch detected", 0) == 0;
        return lines;
    }

    sim::SimWorm& worm = game.addWorm(1, 1);
    CapturedLog log;
};

TEST_F(FrameDriverTest, PreviousHandlerRunsFirstAndOtherMessagesPassThrough) {
    worm.apply({0, 0, true, 0});
    world.setFrameCounter(1);
    host.sendWormMessage(worm.address(), 2, 0x77, 12, 0x88);
    ASSERT_EQ(host.hostHandlerMessages().size(), 1u);
    const sim::WormMessage& message = host.hostHandlerMessages()[0];
    EXPECT_EQ(message.worm, worm.address());
    EXPECT_EQ(message.sender, 0x77u);
    EXPECT_EQ(message.type, 2u);
    EXPECT_EQ(message.size, 12u);
    EXPECT_EQ(message.data, 0x88u);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], "pipeline handled=1 attempt=0");

    events.clear();
    host.sendWormMessage(worm.address(), 7);
    EXPECT_EQ(host.hostHandlerMessages().size(), 2u);
    EXPECT_TRUE(events.empty());

    worm.setWorld(0);  // a worm without a world is the host's business only
    host.sendWormMessage(worm.address(), 2);
    EXPECT_EQ(host.hostHandlerMessages().size(), 3u);
    EXPECT_TRUE(events.empty());
}

TEST_F(FrameDriverTest, AFailureInTheModuleNeverReachesTheHostWhoseHandlerStillRuns) {
    static_assert(noexcept(onWormMessage(0, 0, 0, 0, 0)));
    enterWorld();
    goldGhost() = recordingFromPaths({straightRun(1, 50, 0, 0, 1)});
    worm.script(activeFrames(straightRun(1, 10, 0, 0, 1)));
    game.runFrames(3);
    // An allocation that fails in the frame step, and anything at all thrown while drawing.
    raceCallouts().runMapAndGhostPipeline = [](HostAddr) { throw std::bad_alloc(); };
    raceCallouts().drawGhost = [](HostAddr, const GhostFrame&, bool) { throw 7; };
    const size_t handled = host.hostHandlerMessages().size();
    host.sendWormMessage(worm.address(), 2);
    host.sendWormMessage(worm.address(), 3);
    EXPECT_EQ(host.hostHandlerMessages().size(), handled + 2);
    raceCallouts() = recordingCallouts();
    game.runFrame();
    EXPECT_EQ(events.back(), "draw gold 3");  // the failed frame moved nothing on
}

// A chain to an address the game does not know would crash the game: the simulation stops loudly.
TEST(SimHostDeathTest, ACallToAnUnknownAddressAborts) {
    EXPECT_DEATH_IF_SUPPORTED(sim::SimHost().callWormHandler(0x12345678, 0, 0, 2, 0, 0), "unknown address 0x12345678");
}

TEST_F(FrameDriverTest, DrawsBlueThenGoldOnlyForTheRaceWormAndOnlyWhenVisible) {
    enterWorld();
    goldGhost() = recordingFromPaths({straightRun(1, 50, 0, 0, 1)});
    blueGhost() = recordingFromPaths({straightRun(1, 50, 0, 0, 2)});
    sim::SimWorm& bystander = game.addWorm(2, 2);
    bystander.apply({0, 0, false, 0});
    worm.script(activeFrames(straightRun(1, 10, 0, 0, 1)));
    game.runFrames(3);
    // Started on frame 2 at the ghosts' first movement frame; frame 3 shows their next frame.
    EXPECT_EQ(events[events.size() - 2], "draw blue 4");
    EXPECT_EQ(events.back(), "draw gold 2");

    events.clear();
    host.sendWormMessage(bystander.address(), 3);
    EXPECT_TRUE(events.empty());

    frameDriver().blueVisible = false;
    host.sendWormMessage(worm.address(), 3);
    EXPECT_EQ(events, std::vector<std::string>{"draw gold 2"});
    frameDriver().goldVisible = false;
    frameDriver().blueVisible = true;
    events.clear();
    host.sendWormMessage(worm.address(), 3);
    EXPECT_EQ(events, std::vector<std::string>{"draw blue 4"});
}

TEST_F(FrameDriverTest, EpochChangesResetTheRaceAndAreLoggedOnce) {
    goldGhost() = recordingFromPaths({straightRun(1, 50, 0, 0, 1)});
    worm.script(activeFrames(straightRun(1, 40, 0, 0, 1)));
    game.runFrames(5);
    EXPECT_TRUE(raceState().raceStarted);
    EXPECT_EQ(epochLines(), 0u);  // the first observation is silent

    world.setFrameCounter(2);  // the game restarted its frames
    game.runFrame();
    EXPECT_TRUE(log.contains("new match epoch detected; invalidating race/map/catalog/graphics state (frame restart)"));
    EXPECT_FALSE(raceState().raceStarted);  // armed again on this frame, waiting for movement
    EXPECT_EQ(raceState().raceWorm, worm.address());

    world.setLandscape(0x6000);  // replaces the world's own landscape
    world.setFrameCounter(1);
    game.runFrame();
    EXPECT_TRUE(log.contains(
        "new match epoch detected; invalidating race/map/catalog/graphics state (landscape allocation, frame restart)"));
    EXPECT_EQ(epochLines(), 2u);
}

TEST_F(FrameDriverTest, NewWorldIsOneReasonAndStartsRaceTypeDetectionOver) {
    useScheme(30);
    worm.apply({0, 0, true, 0});
    game.runFrames(2);
    EXPECT_TRUE(raceType().isBigRR);
    sim::SimWorld next(host.space());
    next.setFrameCounter(0);
    worm.setWorld(next.world());
    useScheme(0);
    host.sendWormMessage(worm.address(), 2);
    EXPECT_TRUE(log.contains("new match epoch detected; invalidating race/map/catalog/graphics state (world allocation)"));
    EXPECT_FALSE(raceType().detected);  // frame counter 0: not yet
    next.setFrameCounter(1);
    host.sendWormMessage(worm.address(), 2);
    EXPECT_FALSE(raceType().isBigRR);
    EXPECT_TRUE(raceType().detected);
}

TEST_F(FrameDriverTest, WatchedPointerChangeAsksForAGraphicsRebuild) {
    worm.apply({0, 0, false, 0});
    world.setWatchedPointer(0x100);
    game.runFrames(2);
    EXPECT_FALSE(frameDriver().graphicsRebuildNeeded);
    world.setWatchedPointer(0);
    game.runFrame();
    EXPECT_FALSE(frameDriver().graphicsRebuildNeeded);
    world.setWatchedPointer(0x200);
    game.runFrame();
    EXPECT_TRUE(frameDriver().graphicsRebuildNeeded);
    EXPECT_EQ(frameDriver().lastWatchedPointer, 0x200u);
}

TEST_F(FrameDriverTest, AttemptStartsAtTheFirstFreeMovementOfTheActiveWorm) {
    worm.script(concat({activeFrames(straightRun(3, 0, 5, 5, 0)), activeFrames(straightRun(0, 2, 5, 5, 1))}));
    game.runFrames(3);
    EXPECT_FALSE(frameDriver().attemptStarted);
    game.runFrame();
    EXPECT_TRUE(frameDriver().attemptStarted);
    // The pipeline runs after the watcher, so the first movement's frame already sees the flag.
    EXPECT_EQ(count("pipeline handled=7 attempt=1"), 1u);
}

TEST_F(FrameDriverTest, AttemptWatcherIgnoresMovementAfterState0x28) {
    const uint32_t blocked = host_layout::worm::kStateRopeBlocked;
    worm.script(concat({activeFrames(straightRun(2, 0, 5, 5, 0)), activeFrames(straightRun(0, 1, 5, 5, 0), blocked),
                        activeFrames(straightRun(0, 5, 9, 5, 1))}));
    game.runFrames(8);
    EXPECT_FALSE(frameDriver().attemptStarted);
    EXPECT_FALSE(raceState().raceStarted);
    // A new turn arms the watcher again.
    worm.script(concat({inactiveFrames(1, 0, 0), activeFrames(straightRun(1, 3, 0, 0, 1))}));
    game.runFrames(4);
    EXPECT_TRUE(frameDriver().attemptStarted);
}

TEST_F(FrameDriverTest, FeedbackNeedsBothGatesClearAndAReadableGameState) {
    worm.apply({0, 0, true, 0});
    game.runFrame();
    EXPECT_TRUE(frameDriver().feedbackAllowed);
    world.setFeedbackGates(1, 0);
    EXPECT_FALSE(worldAllowsFeedback(world.world()));
    world.setFeedbackGates(0, 7);
    EXPECT_FALSE(worldAllowsFeedback(world.world()));
    world.setFeedbackGates(0, 0);
    world.setGameState(0x7FFF0000);  // unmapped
    EXPECT_FALSE(worldAllowsFeedback(world.world()));
    raceState().turnTimerColour = 2;
    game.runFrame();
    EXPECT_FALSE(frameDriver().feedbackAllowed);
    EXPECT_EQ(raceState().turnTimerColour, 0u);
}

TEST_F(FrameDriverTest, GraphicsUpkeepRunsOnlyWhileWaitingForTheStart) {
    worm.script(concat({activeFrames(straightRun(3, 0, 0, 0, 0)), activeFrames(straightRun(0, 3, 0, 0, 1))}));
    game.runFrames(6);
    EXPECT_EQ(count("graphics"), 3u);
}

TEST_F(FrameDriverTest, MapCaptureOfAnotherMapOrAnEarlierEpochIsDropped) {
    MapGeometryCaptureStore& store = mapGeometryCaptures();
    auto storeCapture = [&](HostAddr captureWorld, HostAddr landscape) {
        std::lock_guard<std::mutex> hold(store.lock);
        store.capture = MapGeometryCapture{};
        store.capture.world = captureWorld;
        store.capture.landscape = landscape;
        store.capture.hash = std::string(64, 'a');
        store.capture.snapshot = ++store.snapshotCount;
    };
    auto held = [&] {
        std::lock_guard<std::mutex> hold(store.lock);
        return store.capture.holdsHash();
    };
    worm.apply({0, 0, false, 0});
    storeCapture(world.world(), world.landscape());
    game.runFrames(2);
    EXPECT_TRUE(held());  // this map's capture stays through the epoch's first frames

    storeCapture(world.world() + 0x1000, world.landscape());
    game.runFrame();
    EXPECT_FALSE(held());

    storeCapture(world.world(), world.landscape());
    game.runFrame();  // seen by the driver
    world.setFrameCounter(1);
    game.runFrame();  // frame restart: the capture is from before it
    EXPECT_FALSE(held());

    world.setFrameCounter(10);
    game.runFrame();
    storeCapture(world.world(), world.landscape());  // taken while the map is rebuilt
    world.setFrameCounter(1);
    game.runFrame();
    EXPECT_TRUE(held());
    std::lock_guard<std::mutex> hold(store.lock);
    store.capture = MapGeometryCapture{};
}

TEST_F(FrameDriverTest, UnreadableWormOrWorldIsSkipped) {
    host.sendWormMessage(0x7FFF0000, 2);
    EXPECT_EQ(host.hostHandlerMessages().size(), 1u);
    worm.apply({0, 0, true, 0});
    worm.setWorld(0x7FFF0000);
    host.sendWormMessage(worm.address(), 2);
    EXPECT_EQ(host.hostHandlerMessages().size(), 2u);
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(frameDriver().tracker.valid);
}

}  // namespace
}  // namespace tarvek
