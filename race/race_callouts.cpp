#include "race/race_callouts.h"

#include "presentation/ghost_graphics.h"
#include "presentation/race_feedback.h"
#include "race/ghost_drawing.h"
#include "race/map_ghost_pipeline.h"

namespace tarvek {

RaceCallouts defaultRaceCallouts() {
    return RaceCallouts{&runMapAndGhostPipeline, &prepareGhostGraphics, &drawGhost,
                        &showEndOfTurnGap,       &clearEndOfTurnGap,    &dropEndOfTurnGap};
}

RaceCallouts& raceCallouts() {
    static RaceCallouts callouts = defaultRaceCallouts();
    return callouts;
}

}  // namespace tarvek
