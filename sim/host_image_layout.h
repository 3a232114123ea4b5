#pragma once
// The game's executable image as the module finds it: the hooked call sites with their E8 calls
// to the host routines and the code around them, the class-table entries, and room for the
// scheme byte and the nickname.
#include <cstdint>

#include "sim/address_space.h"

namespace tarvek::sim {

constexpr uint32_t kHostImageSize = 0x00490000;
// The game's own display routines, one per class-table entry, 16 bytes apart from this offset.
constexpr uint32_t kDisplayRoutines = 0x1C0000;

// The game's routine behind the display class-table entry at tableOffset.
constexpr HostAddr hostDisplayRoutine(HostAddr base, uint32_t tableOffset) {
    return base + kDisplayRoutines + tableOffset * 4;
}

// Writes a 5-byte call at site (absolute addresses) that reaches target.
void writeCall(AddressSpace& space, HostAddr site, HostAddr target);

// Lays the image out in space and protects it execute-read; returns the image base.
HostAddr layOutHostImage(AddressSpace& space);

// Writes an E8 call at site to target (both offsets from base), as another module's patch would.
void writeCall(AddressSpace& space, HostAddr base, uint32_t site, uint32_t target);
// Where the E8 call at site (offset from base) goes, as the processor decodes it.
HostAddr callTarget(const AddressSpace& space, HostAddr base, uint32_t site);

}  // namespace tarvek::sim
