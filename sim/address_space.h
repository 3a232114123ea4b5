#pragma once
// Where the simulated host's layout code builds the game's image and objects: the sparse
// simulated space natively (SimAddressSpace), real memory in a 32-bit Windows test host. The
// layout code writes only through this interface, so one layout serves both.
#include <cstddef>
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek::sim {

class AddressSpace {
public:
    virtual ~AddressSpace() = default;

    // Committed, zero-filled, read-write memory for one object; an overrun reads as unreadable.
    virtual HostAddr allocate(uint32_t size) = 0;
    // The game's executable image: size bytes, committed, zero-filled and read-write until
    // protected. Returns the image base.
    virtual HostAddr allocateImage(uint32_t size) = 0;
    // The game's own access, past any protection; the range must be allocated.
    virtual void write(HostAddr addr, const void* src, size_t n) = 0;
    virtual void read(HostAddr addr, void* dst, size_t n) const = 0;
    // Direct access to bytes of one allocated object, for the game's own drawing.
    virtual uint8_t* span(HostAddr addr, size_t n) = 0;
    // Sets the protection (protection:: values) of the pages covering the range.
    virtual void protect(HostAddr addr, uint32_t size, uint32_t newProtect) = 0;

    void writeU32(HostAddr addr, uint32_t value) { write(addr, &value, sizeof value); }
    void writeI32(HostAddr addr, int32_t value) { write(addr, &value, sizeof value); }
    void writeU8(HostAddr addr, uint8_t value) { write(addr, &value, sizeof value); }
    uint32_t readU32(HostAddr addr) const {
        uint32_t value;
        read(addr, &value, sizeof value);
        return value;
    }
};

}  // namespace tarvek::sim
