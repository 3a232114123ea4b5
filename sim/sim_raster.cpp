#include "sim/sim_raster.h"

#include <algorithm>
#include <cstdlib>

namespace tarvek::sim {
namespace {

void plotSquare(const Canvas8& canvas, int32_t cx, int32_t cy, int32_t radius, int32_t extent, uint8_t colour) {
    fillRect(canvas, ClipRect{cx - radius, cy - radius, cx - radius + extent, cy - radius + extent}, colour);
}

}  // namespace

void fillRect(const Canvas8& canvas, const ClipRect& rect, uint8_t colour) {
    const int32_t left = std::max(rect.left, canvas.clip.left);
    const int32_t right = std::min(rect.right, canvas.clip.right);
    const int32_t top = std::max(rect.top, canvas.clip.top);
    const int32_t bottom = std::min(rect.bottom, canvas.clip.bottom);
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x) canvas.pixels[size_t(y) * canvas.stride + size_t(x)] = colour;
}

void blitOver(const Canvas8& canvas, int32_t x, int32_t y, const uint8_t* source, uint32_t sourceStride,
              int32_t width, int32_t height, bool mirrored, const uint8_t* blend) {
    const int32_t top = std::max(y, canvas.clip.top);
    const int32_t bottom = std::min(y + height, canvas.clip.bottom);
    const int32_t left = std::max(x, canvas.clip.left);
    const int32_t right = std::min(x + width, canvas.clip.right);
    for (int32_t row = top; row < bottom; ++row) {
        const uint8_t* in = source + size_t(row - y) * sourceStride;
        uint8_t* out = canvas.pixels + size_t(row) * canvas.stride;
        for (int32_t column = left; column < right; ++column) {
            const int32_t sx = mirrored ? width - 1 - (column - x) : column - x;
            const uint8_t pixel = in[sx];
            if (pixel == 0) continue;
            out[column] = blend ? blend[size_t(out[column]) * 256 + pixel] : pixel;
        }
    }
}

void drawLine(const Canvas8& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t colour,
              uint32_t width) {
    const int32_t extent = static_cast<int32_t>(std::clamp<uint32_t>(width, 1, 8));
    const int32_t radius = extent / 2;
    // Bresenham over the whole span; far-away end points only cost iterations, never writes.
    const int64_t dx = std::llabs(int64_t{x2} - x1);
    const int64_t dy = -std::llabs(int64_t{y2} - y1);
    const int32_t sx = x1 < x2 ? 1 : -1;
    const int32_t sy = y1 < y2 ? 1 : -1;
    if (std::max(dx, -dy) > 65536) return;  // longer than any surface: the game does not draw these
    int64_t error = dx + dy;
    int32_t x = x1;
    int32_t y = y1;
    for (;;) {
        plotSquare(canvas, x, y, radius, extent, colour);
        if (x == x2 && y == y2) break;
        const int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

}  // namespace tarvek::sim
