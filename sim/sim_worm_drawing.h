#pragma once
// The game's worm and rope drawing routines: both queue render commands on the worm's world.
#include <cstdint>

#include "sim/address_space.h"

namespace tarvek::sim {

// Queues the worm sprite at the worm's position, its band in the colour-table entry that the
// worm's colour index selects.
void hostDrawWorm(AddressSpace& memory, HostAddr worm);

// Queues the rope from the worm's anchors to the worm: a wide polyline in colour entry 9's value
// and a thin one in colour entry 7's value over it.
void hostDrawRope(AddressSpace& memory, HostAddr worm, uint32_t colourEntry9, uint32_t colourEntry7);

// The game's handling of a worm's drawing message: the worm, then its rope while it is on one
// (in the colour-table entries 9 and 7).
void hostDrawLiveWorm(AddressSpace& memory, HostAddr worm);

}  // namespace tarvek::sim
