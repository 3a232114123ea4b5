#pragma once
// Places simulated host objects in a SimMemory: each allocation gets its own committed,
// zero-filled pages with an unmapped page after it, so overruns read as unreadable memory.
#include <cstdint>

#include "sim/sim_memory.h"

namespace tarvek::sim {

class SimHeap {
public:
    explicit SimHeap(SimMemory& memory, HostAddr base = 0x10000000) : memory_(memory), next_(base) {}

    HostAddr allocate(uint32_t size);
    SimMemory& memory() { return memory_; }

private:
    SimMemory& memory_;
    uint64_t next_;
};

}  // namespace tarvek::sim
