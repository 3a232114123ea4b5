#pragma once
// The simulated game's text: a 5 x 7 font, drawn at a whole-number scale with a one-pixel outline.
#include <cstdint>
#include <string_view>

#include "sim/sim_raster.h"

namespace tarvek::sim {

struct TextExtent {
    int32_t width = 0;
    int32_t height = 0;
};

// The box the text covers, outline included; 0 x 0 for an empty text.
TextExtent measureText(std::string_view text, int32_t scale);

// Draws the text with its box's top-left at (x, y); characters outside 32..126 show as '?'.
TextExtent drawText(const Canvas8& canvas, int32_t x, int32_t y, std::string_view text, int32_t scale,
                    uint8_t ink, uint8_t outline);

}  // namespace tarvek::sim
