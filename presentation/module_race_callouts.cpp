#include "presentation/module_race_callouts.h"

#include "presentation/ghost_graphics.h"
#include "presentation/race_feedback.h"

namespace tarvek {

RaceCallouts moduleRaceCallouts() {
    RaceCallouts callouts = defaultRaceCallouts();
    callouts.prepareGhostGraphics = &prepareGhostGraphics;
    callouts.showEndOfTurnGap = &showEndOfTurnGap;
    callouts.clearEndOfTurnGap = &clearEndOfTurnGap;
    callouts.dropEndOfTurnGap = &dropEndOfTurnGap;
    callouts.dropGhostNameTags = &dropGhostNameTags;
    return callouts;
}

}  // namespace tarvek
