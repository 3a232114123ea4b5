#pragma once
// Palettes for the ghost graphics tests and benchmarks, and the nearest-entry rule applied to
// every cube cell one by one (the reference the fast cube must equal).
#include <cstdint>
#include <random>

#include "presentation/inverse_colour_cube.h"
#include "presentation/palette.h"

namespace tarvek::testing {

// mt19937's output is fixed by the standard, so every build sees the same palette for a seed.
inline Palette randomPalette(uint32_t seed) {
    std::mt19937 random(seed);
    Palette palette;
    for (uint8_t& byte : palette.bytes) byte = static_cast<uint8_t>(random() & 0xFF);
    return palette;
}

inline void setEntry(Palette& palette, size_t entry, uint8_t red, uint8_t green, uint8_t blue) {
    palette.bytes[4 * entry] = red;
    palette.bytes[4 * entry + 1] = green;
    palette.bytes[4 * entry + 2] = blue;
}

inline void bruteForceCube(const Palette& palette, InverseColourCube& cube) {
    for (uint32_t r = 0; r < kCubeSide; ++r) {
        for (uint32_t g = 0; g < kCubeSide; ++g) {
            for (uint32_t b = 0; b < kCubeSide; ++b) {
                cube[cubeIndex(r, g, b)] = nearestPaletteEntry(palette, 4 * r, 4 * g, 4 * b);
            }
        }
    }
}

}  // namespace tarvek::testing
