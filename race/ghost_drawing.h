#pragma once
// The ghost drawing pass: draws one ghost frame through the host's worm and rope routines.
#include "ghostdata/ghost_recording.h"
#include "host/host_memory.h"

namespace tarvek {

void drawGhost(HostAddr worm, const GhostFrame& frame, bool isBlue);

}  // namespace tarvek
