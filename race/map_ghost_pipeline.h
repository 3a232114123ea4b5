#pragma once
// The per-frame map hash, catalog and ghost loading step.
#include "host/host_memory.h"

namespace tarvek {

void runMapAndGhostPipeline(HostAddr world);

}  // namespace tarvek
