#pragma once
// The address space of the simulated host: objects on a heap in a SimMemory, each in its own
// pages with an unmapped page after it, and the image at a fixed base.
#include <cstdint>

#include "sim/address_space.h"
#include "sim/sim_memory.h"

namespace tarvek::sim {

constexpr HostAddr kHostBase = 0x00400000;
constexpr HostAddr kHeapBase = 0x10000000;

class SimAddressSpace final : public AddressSpace {
public:
    explicit SimAddressSpace(SimMemory& memory, HostAddr heapBase = kHeapBase, HostAddr imageBase = kHostBase)
        : memory_(memory), next_(heapBase), imageBase_(imageBase) {}

    HostAddr allocate(uint32_t size) override;
    HostAddr allocateImage(uint32_t size) override;
    void write(HostAddr addr, const void* src, size_t n) override { memory_.poke(addr, src, n); }
    void read(HostAddr addr, void* dst, size_t n) const override { memory_.peek(addr, dst, n); }
    uint8_t* span(HostAddr addr, size_t n) override { return memory_.span(addr, n); }
    void protect(HostAddr addr, uint32_t size, uint32_t newProtect) override {
        memory_.setProtection(addr, size, newProtect);
    }

    SimMemory& memory() { return memory_; }

private:
    SimMemory& memory_;
    uint64_t next_;
    HostAddr imageBase_;
};

}  // namespace tarvek::sim
