#pragma once
// The host's 8-bit palette (256 entries of red, green, blue and a flags byte) and the weighted
// colour distance every nearest-colour search of the ghost graphics uses.
#include <array>
#include <cstddef>
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

inline constexpr size_t kPaletteEntries = 256;
inline constexpr size_t kPaletteBytes = 4 * kPaletteEntries;

struct Palette {
    std::array<uint8_t, kPaletteBytes> bytes{};

    uint8_t red(size_t entry) const { return bytes[4 * entry]; }
    uint8_t green(size_t entry) const { return bytes[4 * entry + 1]; }
    uint8_t blue(size_t entry) const { return bytes[4 * entry + 2]; }
    // Compares the colours only: the host changes flags bytes without changing what is shown.
    bool sameColours(const Palette& other) const;
};

// 3·Δred² + 4·Δgreen² + Δblue²: green weighs most, as the eye sees it.
constexpr int32_t colourDistance(int32_t dRed, int32_t dGreen, int32_t dBlue) {
    return 3 * dRed * dRed + 4 * dGreen * dGreen + dBlue * dBlue;
}

// The entry among 1..255 nearest to the colour; the lower index wins a tie. Entry 0 is the
// host's transparent colour and never a match.
uint8_t nearestPaletteEntry(const Palette& palette, int32_t red, int32_t green, int32_t blue);

// The display object's palette through a guarded read; false when it is unreadable.
bool readDisplayPalette(const HostMemory& memory, HostAddr display, Palette& palette);

}  // namespace tarvek
