#pragma once
// The race engine's calls into the loading pipeline, the graphics upkeep, the drawing pass and
// the race feedback. They go through this table so the engine's calling order can be observed;
// by default each entry is the routine of the subsystem that owns it.
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
};

RaceCallouts& raceCallouts();
// The table as the module installs it.
RaceCallouts defaultRaceCallouts();

}  // namespace tarvek
