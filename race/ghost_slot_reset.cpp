#include "race/ghost_slot_reset.h"

#include "ghostdata/ghost_recording.h"
#include "race/race_callouts.h"
#include "race/race_state.h"
#include "race/race_type.h"

namespace tarvek {

void resetGhostSlots(bool joinRunningRace) {
    emptyGhostRecording(goldGhost());
    emptyGhostRecording(blueGhost());
    raceCallouts().dropGhostNameTags();
    resetGhostCursorsAndComparisons(joinRunningRace);
    resetDisciplineFlags();
}

}  // namespace tarvek
