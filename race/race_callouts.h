#pragma once
// The race engine's calls into the loading pipeline, the graphics upkeep, the drawing pass and
// the race feedback. They go through this table so the engine's calling order can be observed
// and so the engine reaches the presentation above it without depending on it.
#include "ghostdata/ghost_recording.h"
#include "host/host_memory.h"

namespace tarvek {

struct RaceCallouts {
    void (*runMapAndGhostPipeline)(HostAddr world);
    void (*prepareGhostGraphics)(HostAddr world, bool force);
    void (*drawGhost)(HostAddr worm, const GhostFrame& frame, bool isBlue);
    void (*showEndOfTurnGap)(HostAddr world);
    void (*clearEndOfTurnGap)();  // the gap-shown flag and kept live time of a new race
    void (*dropEndOfTurnGap)();   // a pending gap message, under the gap message lock
    void (*dropCrownAndNameTags)();     // cached decorations of ghosts that left their slots
    void (*dropCachedGhostGraphics)();  // every cached graphic, at a new match epoch
    // Tags the render commands [firstNewIndex, count) a ghost's body or rope just produced.
    void (*markGhostCommands)(HostAddr queue, uint32_t firstNewIndex, bool isBlue, bool isWormBody,
                              uint32_t fadeLevel);
};

RaceCallouts& raceCallouts();
// The race engine's own routines; the presentation entries do nothing until the module fills
// them in (moduleRaceCallouts, presentation/module_race_callouts.h).
RaceCallouts defaultRaceCallouts();

}  // namespace tarvek
