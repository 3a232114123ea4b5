#pragma once
// Cached ghost graphics (colour cube, opacity levels, crown, name tags) kept current for the
// display the driver recorded.
#include "host/host_memory.h"

namespace tarvek {

void prepareGhostGraphics(HostAddr world, bool force);

// Cached name-tag bitmaps belong to the ghosts they name: emptied slots drop them.
void dropGhostNameTags();

}  // namespace tarvek
