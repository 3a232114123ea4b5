#pragma once
// The frame driver: the module's worm message handler. Per-frame messages (type 2) drive the
// match epochs, race type, loading pipeline, attempt watcher and race tracking; drawing
// messages (type 3) draw the ghosts beside the race worm.
#include <atomic>
#include <cstdint>

#include "host/host_memory.h"
#include "race/match_epoch.h"

namespace tarvek {

struct FrameDriver {
    HostAddr previousHandler = 0;  // the chained worm handler, stored by the hook patch
    MatchEpochTracker tracker;
    uint64_t lastCaptureSequence = 0;
    HostAddr lastWatchedPointer = 0;
    bool graphicsRebuildNeeded = false;
    HostAddr raceWorld = 0;
    int32_t raceLastFrame = -1;
    HostAddr currentWorld = 0;
    HostAddr pipelineWorld = 0;
    // Attempt watcher.
    HostAddr watcherWorld = 0;
    HostAddr watchedWorm = 0;
    bool watchArmed = false;
    bool watchSawState0x28 = false;
    int32_t watchX = 0;
    int32_t watchY = 0;
    bool attemptStarted = false;
    bool feedbackAllowed = false;
    // Toggled by the hotkeys on the init thread.
    std::atomic<bool> goldVisible{true};
    std::atomic<bool> blueVisible{true};
};

FrameDriver& frameDriver();

// Returns the driver to its start-up state (every field, the previous handler included).
void resetFrameDriver();

// The worm class-table hook: chains to the previous handler, then does the module's work.
// Never throws: a failure skips the module's work for that message.
void onWormMessage(HostAddr worm, HostAddr sender, uint32_t messageType, uint32_t size,
                   HostAddr data) noexcept;

// The pipeline's start-over for a new world, as far as the driver's state goes.
void meetPipelineWorld(HostAddr world);

// True when the world's game-state object is readable and both feedback gates are zero.
bool worldAllowsFeedback(HostAddr world);

}  // namespace tarvek
