#pragma once
// 8-bit drawing primitives of the simulated game: every routine stays inside the canvas's clip.
#include <cstdint>

namespace tarvek::sim {

struct ClipRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;  // exclusive
    int32_t bottom = 0;  // exclusive
};

struct Canvas8 {
    uint8_t* pixels = nullptr;
    uint32_t stride = 0;
    ClipRect clip;
};

// Copies the nonzero pixels of a width x height source with its top-left at (x, y). With a blend
// table the result is blend[destination * 256 + source].
void blitOver(const Canvas8& canvas, int32_t x, int32_t y, const uint8_t* source, uint32_t sourceStride,
              int32_t width, int32_t height, bool mirrored, const uint8_t* blend);

// A line between two pixel centres with a square brush `width` pixels across.
void drawLine(const Canvas8& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t colour,
              uint32_t width);

void fillRect(const Canvas8& canvas, const ClipRect& rect, uint8_t colour);

}  // namespace tarvek::sim
