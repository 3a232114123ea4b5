#pragma once
// The game's executable image as the module finds it: the hooked call sites with their E8 calls
// to the host routines and the code around them, the class-table entries, and room for the
// scheme byte and the nickname.
#include <cstdint>

#include "sim/address_space.h"

namespace tarvek::sim {

constexpr uint32_t kHostImageSize = 0x00490000;

// Lays the image out in space and protects it execute-read; returns the image base.
HostAddr layOutHostImage(AddressSpace& space);

}  // namespace tarvek::sim
