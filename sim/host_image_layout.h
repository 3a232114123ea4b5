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

// Lays the image out in space and protects it execute-read; returns the image base.
HostAddr layOutHostImage(AddressSpace& space);

}  // namespace tarvek::sim
