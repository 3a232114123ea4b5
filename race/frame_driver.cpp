#include "race/frame_driver.h"

#include <string>

#include "host/host_context.h"
#include "host/byte_order.h"
#include "host/host_layout.h"
#include "host/log.h"
#include "race/map_capture_step.h"
#include "race/race_callouts.h"
#include "race/race_state.h"
#include "race/race_type.h"
#include "race/worm_view.h"

namespace tarvek {

namespace layout = host_layout;

namespace {

struct WorldView {
    HostAddr landscape = 0;
    HostAddr watched = 0;
    int32_t frame = 0;
    uint32_t mapWidth = 0;
    uint32_t mapHeight = 0;
};

// The world's fields, read in three guarded reads; false while the world object is unreadable.
bool readWorldView(const HostMemory& memory, HostAddr world, WorldView& view) {
    namespace w = layout::world;
    uint8_t head[w::kLandscape + 4];
    uint8_t dimensions[8];
    const auto frame = memory.readI32(world, w::kFrameCounter);
    if (!frame || !memory.read(world, head, sizeof head) ||
        !memory.read(world, w::kMapWidth, dimensions, sizeof dimensions)) {
        return false;
    }
    view.watched = readLe32(head + w::kWatched);
    view.landscape = readLe32(head + w::kLandscape);
    view.frame = *frame;
    view.mapWidth = readLe32(dimensions);
    view.mapHeight = readLe32(dimensions + 4);
    return true;
}

void startNewEpoch(FrameDriver& driver, HostAddr world, const WorldView& view, uint32_t reasons) {
    resetRaceState();
    forgetRaceTypeDetection();
    raceCallouts().dropCachedGhostGraphics();
    driver.pipelineWorld = 0;
    driver.watcherWorld = 0;
    driver.raceWorld = world;
    driver.raceLastFrame = view.frame;
    driver.lastWatchedPointer = view.watched;
    if (!(reasons & epoch_reason::kFirstObservation)) {
        logLine("new match epoch detected; invalidating race/map/catalog/graphics state (" +
                describeEpochReasons(reasons) + ")");
    }
}

void watchAttempt(FrameDriver& driver, HostAddr world, const WormView& worm) {
    if (driver.attemptStarted) return;
    if (world != driver.watcherWorld) {
        driver.watchedWorm = 0;
        driver.watchArmed = false;
        driver.watchSawState0x28 = false;
        driver.watcherWorld = world;
    }
    const bool isWatched = worm.address == driver.watchedWorm;
    if (worm.active == 0) {
        if (isWatched) {
            driver.watchArmed = false;
            driver.watchSawState0x28 = false;
        }
    } else if (isWatched && driver.watchArmed) {
        if (worm.state == layout::worm::kStateRopeBlocked) {
            driver.watchSawState0x28 = true;
        } else if (!driver.watchSawState0x28 && (worm.x != driver.watchX || worm.y != driver.watchY)) {
            driver.attemptStarted = true;
        }
    } else {
        driver.watchedWorm = worm.address;
        driver.watchArmed = true;
        driver.watchSawState0x28 = worm.state == layout::worm::kStateRopeBlocked;
        driver.watchX = worm.x;
        driver.watchY = worm.y;
    }
}

void onFrameMessage(FrameDriver& driver, const WormView& worm) {
    const HostAddr world = worm.world;
    WorldView view;
    // A world that cannot be read now is looked at again on a later frame.
    if (!readWorldView(hostMemory(), world, view)) return;
    const uint32_t reasons =
        detectMatchEpochChange(driver.tracker, world, view.landscape, view.mapWidth, view.mapHeight, view.frame);
    dropStaleMapCapture(world, view.landscape, reasons != 0, driver.lastCaptureSequence);

    if (reasons == 0) {
        if (view.watched != 0 && driver.lastWatchedPointer != 0 && view.watched != driver.lastWatchedPointer) {
            driver.graphicsRebuildNeeded = true;
        }
        if (view.watched != 0) driver.lastWatchedPointer = view.watched;
    } else {
        startNewEpoch(driver, world, view, reasons);
    }

    detectRaceType(world);

    if (world == driver.pipelineWorld) {
        watchAttempt(driver, world, worm);
        raceCallouts().runMapAndGhostPipeline(world);
    } else {
        raceCallouts().runMapAndGhostPipeline(world);
        watchAttempt(driver, world, worm);
    }

    driver.feedbackAllowed = worldAllowsFeedback(world);
    if (!driver.feedbackAllowed) raceState().turnTimerColour = 0;

    if (world != driver.raceWorld || (driver.raceLastFrame >= 0 && view.frame < driver.raceLastFrame)) {
        driver.raceWorld = world;
        resetRaceState();
    }
    driver.raceLastFrame = view.frame;
    driver.currentWorld = world;

    trackRace(world, worm);
}

void onDrawMessage(const FrameDriver& driver, HostAddr worm) {
    const RaceState& race = raceState();
    if (worm == 0 || worm != race.raceWorm) return;
    const GhostFrame* blue = race.slots[kBlueSlot].currentFrame;
    if (blue && driver.blueVisible.load(std::memory_order_relaxed)) raceCallouts().drawGhost(worm, *blue, true);
    const GhostFrame* gold = race.slots[kGoldSlot].currentFrame;
    if (gold && driver.goldVisible.load(std::memory_order_relaxed)) raceCallouts().drawGhost(worm, *gold, false);
}

}  // namespace

FrameDriver& frameDriver() {
    static FrameDriver driver;
    return driver;
}

void resetFrameDriver() {
    FrameDriver& driver = frameDriver();
    driver.previousHandler = 0;
    driver.tracker = MatchEpochTracker{};
    driver.lastCaptureSequence = 0;
    driver.lastWatchedPointer = 0;
    driver.graphicsRebuildNeeded = false;
    driver.raceWorld = 0;
    driver.raceLastFrame = -1;
    driver.currentWorld = 0;
    driver.pipelineWorld = 0;
    driver.watcherWorld = 0;
    driver.watchedWorm = 0;
    driver.watchArmed = false;
    driver.watchSawState0x28 = false;
    driver.watchX = driver.watchY = 0;
    driver.attemptStarted = false;
    driver.feedbackAllowed = false;
    driver.goldVisible = true;
    driver.blueVisible = true;
}

void meetPipelineWorld(HostAddr world) {
    FrameDriver& driver = frameDriver();
    driver.pipelineWorld = world;
    driver.attemptStarted = false;
    driver.watcherWorld = world;
    driver.watchedWorm = 0;
    driver.watchArmed = false;
    driver.watchSawState0x28 = false;
    driver.graphicsRebuildNeeded = false;
}

bool worldAllowsFeedback(HostAddr world) {
    const HostMemory& memory = hostMemory();
    const auto gameState = memory.readU32(world, layout::world::kGameState);
    if (!gameState || *gameState == 0) return false;
    const auto gateWord = memory.readU32(*gameState, layout::game_state::kFeedbackGateWord);
    const auto gateByte = memory.readU8(*gameState, layout::game_state::kFeedbackGateByte);
    return gateWord && gateByte && *gateWord == 0 && *gateByte == 0;
}

void onWormMessage(HostAddr worm, HostAddr sender, uint32_t messageType, uint32_t size, HostAddr data) noexcept {
    // Nothing may unwind into the game's code: a failure (an allocation, a throwing callout)
    // skips the module's work for this message, after the host's own handler has run.
    try {
        FrameDriver& driver = frameDriver();
        if (driver.previousHandler != 0) {
            hostCalls().callWormHandler(driver.previousHandler, worm, sender, messageType, size, data);
        }
        if (worm == 0) return;
        if (messageType == layout::message::kFrame) {
            WormView view;
            if (!readWormView(hostMemory(), worm, view) || view.world == 0) return;
            onFrameMessage(driver, view);
        } else if (messageType == layout::message::kDraw) {
            onDrawMessage(driver, worm);
        }
    } catch (...) {
    }
}

}  // namespace tarvek
