#include "tools/tarvek-sim/contact_sheet.h"

#include <algorithm>

#include "sim/png_image.h"
#include "sim/sim_font.h"
#include "sim/sim_raster.h"

namespace tarvek::simtool {
namespace {

constexpr uint32_t kColumns = 2;
constexpr uint32_t kGap = 8;
constexpr uint32_t kCaptionHeight = 26;

}  // namespace

bool writeContactSheet(const std::string& path, const std::vector<SheetFrame>& frames, const sim::Palette& palette,
                       std::string& error) {
    if (frames.empty()) {
        error = "no key frame to show";
        return false;
    }
    uint32_t cellWidth = 0, cellHeight = 0;
    for (const SheetFrame& frame : frames) {
        cellWidth = std::max(cellWidth, frame.width);
        cellHeight = std::max(cellHeight, frame.height);
    }
    const uint32_t columns = std::min<uint32_t>(kColumns, static_cast<uint32_t>(frames.size()));
    const uint32_t rows = static_cast<uint32_t>((frames.size() + columns - 1) / columns);
    const uint32_t width = kGap + columns * (cellWidth + kGap);
    const uint32_t height = kGap + rows * (cellHeight + kCaptionHeight + kGap);
    std::vector<uint8_t> pixels(size_t{width} * height, sim::nearestPaletteEntry(palette, 24, 24, 32));
    const sim::Canvas8 canvas{pixels.data(), width, {0, 0, static_cast<int32_t>(width), static_cast<int32_t>(height)}};
    const uint8_t white = sim::nearestPaletteEntry(palette, 255, 255, 255);
    const uint8_t grey = sim::nearestPaletteEntry(palette, 190, 190, 190);
    const uint8_t black = sim::nearestPaletteEntry(palette, 0, 0, 0);

    for (size_t i = 0; i < frames.size(); ++i) {
        const SheetFrame& frame = frames[i];
        const uint32_t left = kGap + static_cast<uint32_t>(i % columns) * (cellWidth + kGap);
        const uint32_t top = kGap + static_cast<uint32_t>(i / columns) * (cellHeight + kCaptionHeight + kGap);
        for (uint32_t y = 0; y < frame.height; ++y)
            std::copy_n(frame.pixels.begin() + size_t{y} * frame.width, frame.width,
                        pixels.begin() + size_t{top + y} * width + left);
        const int32_t textTop = static_cast<int32_t>(top + cellHeight + 2);
        sim::drawText(canvas, static_cast<int32_t>(left), textTop, frame.title, 1, white, black);
        sim::drawText(canvas, static_cast<int32_t>(left), textTop + 11, frame.caption, 1, grey, black);
    }
    return sim::writePalettePng(path, width, height, pixels, palette, error);
}

}  // namespace tarvek::simtool
