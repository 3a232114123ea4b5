#include "presentation/ghost_graphics.h"

namespace tarvek {

// The opacity-level builder lands with the ghost presentation.
void prepareGhostGraphics(HostAddr, bool) {}

}  // namespace tarvek
