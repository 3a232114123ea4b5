#include "sim/sim_timer_routines.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "host/host_layout.h"
#include "sim/sim_font.h"
#include "sim/sim_host.h"
#include "sim/sim_palette.h"

namespace tarvek::sim {
namespace {

namespace layout = host_layout;

}  // namespace

void hostTimerUpdate(AddressSpace& memory, HostAddr timer) {
    if (memory.readU32(timer + layout::turn_timer::kRedraw) == 0) return;
    memory.writeU32(timer + layout::turn_timer::kRedraw, 0);
    memory.writeU32(timer + sim_timer::kRedraws, memory.readU32(timer + sim_timer::kRedraws) + 1);
}

void hostTimerTeam(AddressSpace& memory, HostAddr timer, uint32_t team) {
    const HostAddr world = memory.readU32(timer + layout::turn_timer::kWorld);
    const HostAddr setup = memory.readU32(world + layout::world::kGameState);
    uint8_t colourIndex;
    memory.read(setup + team * layout::game_state::kTeamRecordSize - layout::game_state::kTeamColourBack, &colourIndex, 1);
    memory.writeU32(timer + sim_timer::kBoxColour, memory.readU32(world + layout::world::kTeamColours + colourIndex * 4u));
}

// (object, text, colour selector, 0, 0, out): the digits' text and where their width goes.
HostAddr hostTimerRender(AddressSpace& memory, HostAddr base, HostAddr object, HostAddr textAddress, uint32_t selector,
                         HostAddr out) {
    const HostAddr display = memory.readU32(object + layout::turn_timer_draw::kDisplay);
    HostAddr bitmap = memory.readU32(object + sim_timer::kRendererBitmap);
    if (bitmap == 0) {
        AddressSpace& space = memory;
        bitmap = space.allocate(layout::bitmap::kClippedObjectSize);
        const HostAddr pixels = space.allocate(sim_timer::kBitmapWidth * sim_timer::kBitmapHeight);
        space.writeU32(bitmap + layout::bitmap::kClassTable, base + layout::image::kBitmapClassTable);
        space.writeU32(bitmap + layout::bitmap::kPixels, pixels);
        space.writeU32(bitmap + layout::bitmap::kBitsPerPixel, 8);
        space.writeU32(bitmap + layout::bitmap::kStride, sim_timer::kBitmapWidth);
        space.writeU32(bitmap + layout::bitmap::kWidth, sim_timer::kBitmapWidth);
        space.writeU32(bitmap + layout::bitmap::kHeight, sim_timer::kBitmapHeight);
        space.writeU32(object + sim_timer::kRendererBitmap, bitmap);
    }
    memory.writeU32(object + sim_timer::kRendererSelector, selector);
    std::string text;
    for (HostAddr at = textAddress; text.size() < 8; ++at) {
        uint8_t c;
        memory.read(at, &c, 1);
        if (c == 0) break;
        text.push_back(static_cast<char>(c));
    }
    Palette palette;
    memory.read(display + layout::display::kPalette, palette.data(), palette.size());
    const uint8_t ink = selector == 7   ? nearestPaletteEntry(palette, 255, 255, 255)
                        : selector == 8 ? nearestPaletteEntry(palette, 255, 230, 120)
                                             : nearestPaletteEntry(palette, 160, 160, 160);
    const HostAddr pixels = memory.readU32(bitmap + layout::bitmap::kPixels);
    Canvas8 canvas{memory.span(pixels, sim_timer::kBitmapWidth * sim_timer::kBitmapHeight), sim_timer::kBitmapWidth,
                   ClipRect{0, 0, sim_timer::kBitmapWidth, sim_timer::kBitmapHeight}};
    fillRect(canvas, canvas.clip, 0);
    const TextExtent extent = measureText(text, 2);
    drawText(canvas, (static_cast<int32_t>(sim_timer::kBitmapWidth) - extent.width) / 2,
             (static_cast<int32_t>(sim_timer::kBitmapHeight) - extent.height) / 2, text, 2, ink,
             nearestPaletteEntry(palette, 24, 24, 24));
    if (out) memory.writeU32(out, static_cast<uint32_t>(extent.width));
    return bitmap;
}

void defineTimerRoutines(SimHost& host) {
    namespace image = layout::image;
    const HostAddr base = host.base();
    host.defineHostRoutine(base + image::kTurnTimerColourA, [&host](SimCall& call) {
        hostTimerUpdate(host.space(), call.ecx);
        return call.eax;
    });
    host.defineHostRoutine(base + image::kTurnTimerColourB, [&host](SimCall& call) {
        hostTimerTeam(host.space(), call.eax, call.edx);
        return call.eax;
    });
    host.defineHostRoutine(base + image::kTurnTimerDraw, [&host](SimCall& call) {
        const auto& stack = call.stackArguments;
        if (stack.size() != 6) throw std::logic_error("simulated host: the timer renderer takes six arguments");
        return hostTimerRender(host.space(), host.base(), stack[0], stack[1], stack[2], stack[5]);
    });
}

}  // namespace tarvek::sim
