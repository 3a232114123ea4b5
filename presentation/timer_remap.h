#pragma once
// The remap that turns the turn timer's digits green when the live worm is ahead: greenish
// entries stay, every other entry goes to the entry nearest a green of the same brightness.
#include <array>
#include <cstdint>

#include "presentation/palette.h"

namespace tarvek {

using TimerRemap = std::array<uint8_t, kPaletteEntries>;

// Entry k (1..255) keeps k when its green is above both red and blue, else maps to the entry
// nearest (m div 5, m, 12·m div 100) with m its brightest channel. Every entry that some entry
// maps to then maps to itself; 0 stays 0.
void buildTimerRemap(const Palette& palette, TimerRemap& remap);

}  // namespace tarvek
