#pragma once
// Cached ghost graphics (colour cube, opacity levels, crown, name tags) kept current for the
// display the driver recorded.
#include "host/host_memory.h"

namespace tarvek {

void prepareGhostGraphics(HostAddr world, bool force);

}  // namespace tarvek
