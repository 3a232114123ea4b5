#pragma once
// The inverse colour cube: for every colour with 6-bit channels, the palette entry (1..255)
// nearest to it by the weighted distance, the lower index winning a tie.
#include <array>
#include <cstddef>
#include <cstdint>

#include "presentation/palette.h"

namespace tarvek {

inline constexpr uint32_t kCubeSide = 64;
inline constexpr size_t kCubeCells = kCubeSide * kCubeSide * kCubeSide;

using InverseColourCube = std::array<uint8_t, kCubeCells>;

constexpr size_t cubeIndex(uint32_t red6, uint32_t green6, uint32_t blue6) {
    return red6 * 4096 + green6 * 64 + blue6;
}

// Cell (r, g, b) stands for the colour (4r, 4g, 4b).
void buildInverseColourCube(const Palette& palette, InverseColourCube& cube);

}  // namespace tarvek
