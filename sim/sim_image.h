#pragma once
// The host image as the module finds it in the game: each hooked call site an E8 call to its host
// routine, the code bytes around the timer sites, and the worm, display and landscape class
// tables filled with host routines.
#include "sim/sim_memory.h"

namespace tarvek::sim {

// Host routines behind the class table entries that the Parts leave unnamed: table slot i of
// the display, landscape and worm tables points at base + offset + 0x10 * i.
constexpr uint32_t kDisplayRoutines = 0x1F0000;
constexpr uint32_t kLandscapeRoutines = 0x1F1000;
constexpr uint32_t kWormRoutines = 0x1F2000;

void layOutHostImage(SimMemory& memory, HostAddr base);

// Writes an E8 call at site (host offset) to target (host offset).
void writeCall(SimMemory& memory, HostAddr base, uint32_t site, uint32_t target);
// The address the E8 call at site (host offset) goes to, as the processor decodes it.
HostAddr callTarget(const SimMemory& memory, HostAddr base, uint32_t site);

}  // namespace tarvek::sim
