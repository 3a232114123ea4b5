#include "presentation/module_race_callouts.h"

#include "presentation/ghost_graphics.h"
#include "presentation/race_feedback.h"
#include "presentation/render_tags.h"

namespace tarvek {

RaceCallouts moduleRaceCallouts() {
    RaceCallouts callouts = defaultRaceCallouts();
    callouts.prepareGhostGraphics = &prepareGhostGraphics;
    callouts.showEndOfTurnGap = &showEndOfTurnGap;
    callouts.clearEndOfTurnGap = &clearEndOfTurnGap;
    callouts.dropEndOfTurnGap = &dropEndOfTurnGap;
    callouts.dropCrownAndNameTags = &dropCrownAndNameTags;
    callouts.dropCachedGhostGraphics = &dropCachedGhostGraphics;
    callouts.markGhostCommands = &markGhostCommands;
    return callouts;
}

}  // namespace tarvek
