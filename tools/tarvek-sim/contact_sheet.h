#pragma once
// The contact sheet: every key frame of a run in a grid, each with its scenario,
// frame number and what it shows beneath it.
#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_palette.h"

namespace tarvek::simtool {

struct SheetFrame {
    std::string title;    // "ttrr 110"
    std::string caption;  // what the player sees
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;  // palette indices, row by row
};

// False with the reason in error.
bool writeContactSheet(const std::string& path, const std::vector<SheetFrame>& frames, const sim::Palette& palette,
                       std::string& error);

}  // namespace tarvek::simtool
