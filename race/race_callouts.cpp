#include "race/race_callouts.h"

#include "race/ghost_drawing.h"
#include "race/map_ghost_pipeline.h"

namespace tarvek {
namespace {

void noGraphics(HostAddr, bool) {}
void noGap(HostAddr) {}
void nothing() {}
void noMarks(HostAddr, uint32_t, bool, bool, uint32_t) {}

}  // namespace

RaceCallouts defaultRaceCallouts() {
    return RaceCallouts{&runMapAndGhostPipeline, &noGraphics, &drawGhost, &noGap,   &nothing,
                        &nothing,                &nothing,    &nothing,   &noMarks};
}

RaceCallouts& raceCallouts() {
    static RaceCallouts callouts = defaultRaceCallouts();
    return callouts;
}

}  // namespace tarvek
