#include "sim/sim_display.h"

#include <algorithm>

#include "host/host_layout.h"
#include "sim/sim_host.h"

namespace tarvek::sim {

namespace layout = host_layout;

DisplayObjects layOutDisplay(AddressSpace& space, HostAddr base, uint32_t width, uint32_t height, const Palette& palette) {
    DisplayObjects objects;
    objects.stride = (width + 15) / 16 * 16 + 16;
    objects.display = space.allocate(layout::display::kObjectSize);
    objects.surface = space.allocate(layout::bitmap::kClippedObjectSize);
    objects.pixels = space.allocate(objects.stride * height);
    const HostAddr surface = objects.surface;
    space.writeU32(objects.display + layout::display::kClassTable, base + layout::image::kDisplayClassTable);
    space.writeU32(objects.display + layout::display::kSurface, surface);
    space.writeU32(surface + layout::bitmap::kClassTable, base + layout::image::kBitmapClassTable);
    space.writeU32(surface + 0x4, 1);
    space.writeU32(surface + layout::bitmap::kPixels, objects.pixels);
    space.writeU32(surface + layout::bitmap::kBitsPerPixel, 8);
    space.writeU32(surface + layout::bitmap::kStride, objects.stride);
    space.writeU32(surface + layout::bitmap::kWidth, width);
    space.writeU32(surface + layout::bitmap::kHeight, height);
    const int32_t clip[4] = {0, 0, static_cast<int32_t>(width), static_cast<int32_t>(height)};
    space.write(surface + layout::bitmap::kClipRect, clip, sizeof clip);
    writeDisplayPalette(space, objects.display, palette);
    return objects;
}

void writeDisplayPalette(AddressSpace& space, HostAddr display, const Palette& palette) {
    space.write(display + layout::display::kPalette, palette.data(), palette.size());
    const std::vector<uint8_t> table = hostTranslucencyTable(palette);
    space.write(display + layout::display::kTranslucencyTable, table.data(), table.size());
}

SimDisplay::SimDisplay(SimHost& host, uint32_t width, uint32_t height, const Palette& palette)
    : host_(host), width_(width), height_(height) {
    const DisplayObjects objects = layOutDisplay(host.space(), host.base(), width, height, palette);
    stride_ = objects.stride;
    display_ = objects.display;
    surface_ = objects.surface;
    pixels_ = objects.pixels;
}

void SimDisplay::setPalette(const Palette& palette) { writeDisplayPalette(host_.space(), display_, palette); }

Palette SimDisplay::palette() const {
    Palette palette;
    host_.space().read(display_ + layout::display::kPalette, palette.data(), palette.size());
    return palette;
}

void SimDisplay::setScroll(int32_t x, int32_t y) {
    host_.space().writeI32(display_ + layout::display::kScroll, x);
    host_.space().writeI32(display_ + layout::display::kScroll + 4, y);
}

void SimDisplay::setClip(const ClipRect& clip) {
    const int32_t words[4] = {clip.left, clip.top, clip.right, clip.bottom};
    host_.space().write(surface_ + layout::bitmap::kClipRect, words, sizeof words);
}

void SimDisplay::paintBackground() {
    const Palette colours = palette();
    if (background_.empty() || colours != backgroundPalette_) {
        background_.assign(size_t{width_} * height_, 0);
        backgroundPalette_ = colours;
        const uint8_t grass = nearestPaletteEntry(colours, 60, 140, 40);
        const uint8_t soil = nearestPaletteEntry(colours, 120, 80, 40);
        const uint32_t ground = height_ - height_ / 4;
        for (uint32_t y = 0; y < height_; ++y) {
            const int shade = static_cast<int>(y * 120 / ground);
            const uint8_t sky = nearestPaletteEntry(colours, 40 + shade / 2, 60 + shade, 140 + shade);
            for (uint32_t x = 0; x < width_; ++x) {
                // Soil with a stripe pattern so that blends over it differ from blends over sky.
                const uint8_t earth = (x / 6 + y / 3) % 4 == 0 ? grass : soil;
                background_[size_t{y} * width_ + x] = y < ground ? sky : earth;
            }
        }
    }
    uint8_t* pixels = host_.space().span(pixels_, size_t{stride_} * height_);
    for (uint32_t y = 0; y < height_; ++y)
        std::copy_n(background_.begin() + size_t{y} * width_, width_, pixels + size_t{y} * stride_);
}

std::vector<uint8_t> SimDisplay::pixels() const {
    std::vector<uint8_t> out(size_t{width_} * height_);
    for (uint32_t y = 0; y < height_; ++y)
        host_.space().read(pixels_ + y * stride_, out.data() + size_t{y} * width_, width_);
    return out;
}

Canvas8 surfaceCanvas(AddressSpace& memory, HostAddr display) {
    const HostAddr surface = memory.readU32(display + layout::display::kSurface);
    Canvas8 canvas;
    canvas.stride = memory.readU32(surface + layout::bitmap::kStride);
    const uint32_t height = memory.readU32(surface + layout::bitmap::kHeight);
    canvas.pixels = memory.span(memory.readU32(surface + layout::bitmap::kPixels), size_t{canvas.stride} * height);
    const int32_t width = static_cast<int32_t>(memory.readU32(surface + layout::bitmap::kWidth));
    int32_t clip[4];
    memory.read(surface + layout::bitmap::kClipRect, clip, sizeof clip);
    canvas.clip = ClipRect{std::max(clip[0], 0), std::max(clip[1], 0), std::min(clip[2], width),
                           std::min(clip[3], static_cast<int32_t>(height))};
    return canvas;
}

}  // namespace tarvek::sim
