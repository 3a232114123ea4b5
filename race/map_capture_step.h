#pragma once
// The driver's look at the pending map geometry capture, under the capture lock.
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

// Empties a capture that belongs to another world or landscape, or that is no newer than the
// last one seen when a new epoch began; then records the capture sequence as seen.
void dropStaleMapCapture(HostAddr world, HostAddr landscape, bool newEpoch, uint64_t& lastSeenSequence);

}  // namespace tarvek
