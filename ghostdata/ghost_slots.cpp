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

}  // namespace tarvek
