#pragma once
// The fields of a host worm object that the race engine reads on every per-frame message.
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

struct WormView {
    HostAddr address = 0;
    HostAddr world = 0;
    int32_t x = 0;
    int32_t y = 0;
    uint32_t identityA = 0;  // +0xFC
    uint32_t identityB = 0;  // +0x100
    uint32_t active = 0;
    uint32_t state = 0;

    // Key of the per-worm saved comparison states.
    uint64_t identityKey() const { return (uint64_t{identityB} << 32) | identityA; }
};

// One guarded read of the worm's leading fields; false when they are not readable now.
bool readWormView(const HostMemory& memory, HostAddr worm, WormView& view);

}  // namespace tarvek
