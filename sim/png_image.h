#pragma once
// 8-bit palette frames as PNG files, for people to look at what the tests and tools drew.
#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_palette.h"

namespace tarvek::sim {

// pixels: width x height palette indices, row by row. False with the reason in error.
bool writePalettePng(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels,
                     const Palette& palette, std::string& error);

}  // namespace tarvek::sim
