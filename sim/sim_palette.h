#pragma once
// The simulated game's 256-colour palette and the translucency table it derives from it.
#include <array>
#include <cstdint>
#include <vector>

namespace tarvek::sim {

// 256 entries of (red, green, blue, flags), as the display object keeps them.
using Palette = std::array<uint8_t, 1024>;

// Entry 0 black (transparent in sprites), 1..216 a 6 x 6 x 6 colour cube, 217..240 greys,
// 241..255 worm pinks from dark to light.
Palette gamePalette();

// The entry among 1..255 nearest to (red, green, blue) by 3·Δred² + 4·Δgreen² + Δblue²; the lower
// index wins a tie.
uint8_t nearestPaletteEntry(const Palette& palette, int red, int green, int blue);

// The game's own translucency: [background * 256 + source] is the entry nearest to the even mix
// of both colours; source 0 leaves the background.
std::vector<uint8_t> hostTranslucencyTable(const Palette& palette);

}  // namespace tarvek::sim
