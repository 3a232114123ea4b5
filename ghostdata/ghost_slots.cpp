#include "ghostdata/ghost_recording.h"

namespace tarvek {

GhostRecording& goldGhost() {
    static GhostRecording slot;
    return slot;
}

GhostRecording& blueGhost() {
    static GhostRecording slot;
    return slot;
}

void emptyGhostRecording(GhostRecording& slot) {
    // Swapping with empty vectors frees the memory, which clear() would keep.
    std::vector<GhostFrame>().swap(slot.frames);
    std::vector<TurnSegment>().swap(slot.segments);
    std::vector<uint32_t>().swap(slot.movementStart);
    std::vector<std::vector<GhostFrame>>().swap(slot.tails);
    slot.firstMovementFrame = 0;
}

}  // namespace tarvek
