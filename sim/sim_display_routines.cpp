#include "sim/sim_display_routines.h"

#include <algorithm>
#include <string>

#include "host/host_layout.h"
#include "sim/sim_display.h"
#include "sim/sim_font.h"
#include "sim/sim_palette.h"
#include "sim/sim_sprites.h"

namespace tarvek::sim {
namespace {

namespace layout = host_layout;

struct Screen {
    int32_t x = 0;
    int32_t y = 0;
};

Screen toScreen(const AddressSpace& memory, HostAddr display, int32_t x, int32_t y) {
    const auto scrollX = static_cast<int32_t>(memory.readU32(display + layout::display::kScroll));
    const auto scrollY = static_cast<int32_t>(memory.readU32(display + layout::display::kScroll + 4));
    return {(x >> 16) + scrollX, (y >> 16) + scrollY};
}

const uint8_t* blendTable(AddressSpace& memory, HostAddr display, uint32_t flags) {
    if (!(flags & layout::display::kTranslucentDraw)) return nullptr;
    return memory.span(display + layout::display::kTranslucencyTable, layout::display::kTranslucencyTableSize);
}

struct TextStyle {
    int32_t scale;
    int ink[3];
};

TextStyle styleOf(uint32_t style) {
    switch (style) {
        case 7: return {1, {255, 255, 255}};
        case 17: return {2, {255, 80, 80}};
        case 19: return {2, {90, 255, 90}};
        case 20: return {2, {255, 255, 170}};
        default: return {1, {200, 200, 200}};
    }
}

std::string readText(const AddressSpace& memory, HostAddr text) {
    std::string out;
    for (HostAddr at = text; out.size() < 256; ++at) {
        uint8_t c;
        memory.read(at, &c, 1);
        if (c == 0) break;
        out.push_back(static_cast<char>(c));
    }
    return out;
}

}  // namespace

int32_t hostDisplayText(AddressSpace& memory, HostAddr display, const TextDraw& draw) {
    const std::string text = readText(memory, draw.text);
    Palette palette;
    memory.read(display + layout::display::kPalette, palette.data(), palette.size());
    const TextStyle style = styleOf(draw.style);
    const uint8_t ink = nearestPaletteEntry(palette, style.ink[0], style.ink[1], style.ink[2]);
    const uint8_t outline = nearestPaletteEntry(palette, 24, 24, 24);

    const HostAddr target = draw.bitmap;
    Canvas8 canvas;
    canvas.stride = memory.readU32(target + layout::bitmap::kStride);
    const auto width = static_cast<int32_t>(memory.readU32(target + layout::bitmap::kWidth));
    const auto height = static_cast<int32_t>(memory.readU32(target + layout::bitmap::kHeight));
    canvas.pixels = memory.span(memory.readU32(target + layout::bitmap::kPixels), size_t(canvas.stride) * size_t(height));
    canvas.clip = ClipRect{0, 0, width, height};
    const TextExtent extent = drawText(canvas, draw.x, draw.y, text, style.scale, ink, outline);
    memory.writeI32(draw.outWidth, extent.width);
    memory.writeI32(draw.outHeight, extent.height);
    return extent.width;
}

void hostDisplayLine(AddressSpace& memory, HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                     uint32_t colour, uint32_t width) {
    const Screen a = toScreen(memory, display, x1, y1);
    const Screen b = toScreen(memory, display, x2, y2);
    drawLine(surfaceCanvas(memory, display), a.x, a.y, b.x, b.y, static_cast<uint8_t>(colour), width & 0xFF);
}

void hostDisplaySprite(AddressSpace& memory, HostAddr display, int32_t x, int32_t y, uint32_t flags, uint32_t sprite) {
    const SpriteImage* image = spriteImage(sprite);
    if (!image) return;
    uint8_t pixels[256];
    const uint8_t team = static_cast<uint8_t>(sprite >> 16);
    const size_t count = size_t(image->width) * size_t(image->height);
    for (size_t i = 0; i < count && i < sizeof pixels; ++i)
        pixels[i] = image->pixels[i] == kTeamColourMarker ? (team ? team : 250) : image->pixels[i];
    const Screen at = toScreen(memory, display, x, y);
    blitOver(surfaceCanvas(memory, display), at.x - image->width / 2, at.y - image->height / 2, pixels,
             static_cast<uint32_t>(image->width), image->width, image->height, (flags & 1) != 0,
             blendTable(memory, display, flags));
}

void hostDisplayBitmap(AddressSpace& memory, HostAddr display, const BitmapDraw& draw) {
    const auto bitmapWidth = static_cast<int32_t>(memory.readU32(draw.bitmap + layout::bitmap::kWidth));
    const auto bitmapHeight = static_cast<int32_t>(memory.readU32(draw.bitmap + layout::bitmap::kHeight));
    const uint32_t stride = memory.readU32(draw.bitmap + layout::bitmap::kStride);
    const int32_t sourceX = std::clamp(draw.sourceX, 0, bitmapWidth);
    const int32_t sourceY = std::clamp(draw.sourceY, 0, bitmapHeight);
    const int32_t width = std::clamp(draw.width, 0, bitmapWidth - sourceX);
    const int32_t height = std::clamp(draw.height, 0, bitmapHeight - sourceY);
    if (width == 0 || height == 0) return;
    const uint8_t* pixels = memory.span(memory.readU32(draw.bitmap + layout::bitmap::kPixels),
                                        size_t(stride) * size_t(bitmapHeight));
    const Screen at = toScreen(memory, display, draw.x, draw.y);
    blitOver(surfaceCanvas(memory, display), at.x - width / 2, at.y - height / 2,
             pixels + size_t(sourceY) * stride + size_t(sourceX), stride, width, height, false,
             blendTable(memory, display, draw.flags));
}

}  // namespace tarvek::sim
