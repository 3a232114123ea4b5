#include "presentation/ghost_graphics.h"

namespace tarvek {

// The opacity-level builder lands with the ghost presentation.
void prepareGhostGraphics(HostAddr, bool) {}

// No name tag is cached until the crown and name-tag drawing exists.
void dropGhostNameTags() {}

}  // namespace tarvek
