#include "ghostdata/ghost_loader.h"
#include "presentation/name_tag_reset.h"
#include "race/race_reset_seam.h"

namespace tarvek {
namespace {

void emptySlot(GhostRecording& slot) {
    // Swapping with empty vectors frees the memory, which clear() would keep.
    std::vector<GhostFrame>().swap(slot.frames);
    std::vector<TurnSegment>().swap(slot.segments);
    std::vector<uint32_t>().swap(slot.movementStart);
    std::vector<std::vector<GhostFrame>>().swap(slot.tails);
    slot.firstMovementFrame = 0;
}

}  // namespace

GhostRecording& goldGhost() {
    static GhostRecording slot;
    return slot;
}

GhostRecording& blueGhost() {
    static GhostRecording slot;
    return slot;
}

void resetGhostSlots(bool joinRunningRace) {
    emptySlot(goldGhost());
    emptySlot(blueGhost());
    dropCrownAndNameTags();
    resetGhostCursorsAndComparisons(joinRunningRace);
    resetDisciplineFlags();
}

}  // namespace tarvek
