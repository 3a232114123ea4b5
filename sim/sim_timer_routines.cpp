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

void writeCall(SimMemory& memory, HostAddr site, HostAddr target) {
    memory.pokeU8(site, 0xE8);
    const uint32_t displacement = target - (site + 5);
    memory.poke(site + 1, &displacement, 4);
}

void layoutCallSites(SimMemory& memory, HostAddr base) {
    namespace image = layout::image;
    writeCall(memory, base + image::kTimerUpdateSite, base + image::kTimerUpdate);
    memory.pokeBytes(base + image::kTimerTeamSite - 4, {0x8B, 0xC1, 0x8B, 0xD7});
    writeCall(memory, base + image::kTimerTeamSite, base + image::kTimerTeam);
    memory.pokeBytes(base + image::kTimerTeamSite + 5, {0x8B, 0x54, 0x24, 0x18});
    memory.pokeBytes(base + image::kTimerRenderSite - 16,
                     {0x8B, 0x54, 0x24, 0x28, 0x8D, 0x4C, 0x24, 0x18, 0x51, 0x6A, 0x00, 0x6A, 0x00, 0x52, 0x56, 0x50});
    writeCall(memory, base + image::kTimerRenderSite, base + image::kTimerRender);
    memory.pokeBytes(base + image::kTimerRenderSite + 5,
                     {0x8B, 0x4C, 0x24, 0x0C, 0x8B, 0x54, 0x24, 0x10, 0x6A, 0x00, 0x51, 0x8B, 0x4F, 0x2C, 0x8B, 0x89});
}

void hostTimerUpdate(SimMemory& memory, HostAddr timer) {
    if (memory.peekU32(timer + layout::timer::kRedraw) == 0) return;
    memory.pokeU32(timer + layout::timer::kRedraw, 0);
    memory.pokeU32(timer + sim_timer::kRedraws, memory.peekU32(timer + sim_timer::kRedraws) + 1);
}

void hostTimerTeam(SimMemory& memory, HostAddr timer, uint32_t team) {
    const HostAddr world = memory.peekU32(timer + layout::timer::kWorld);
    const HostAddr setup = memory.peekU32(world + layout::world::kGameState);
    uint8_t colourIndex;
    memory.peek(setup + team * layout::game_state::kTeamStride - layout::game_state::kTeamColourBack, &colourIndex, 1);
    memory.pokeU32(timer + sim_timer::kBoxColour, memory.peekU32(world + layout::world::kTeamColours + colourIndex * 4u));
}

HostAddr hostTimerRender(SimHost& host, const TimerRender& render) {
    SimMemory& memory = host.memory();
    const HostAddr display = memory.peekU32(render.renderer + layout::timer::kRendererDisplay);
    HostAddr bitmap = memory.peekU32(render.renderer + sim_timer::kRendererBitmap);
    if (bitmap == 0) {
        bitmap = host.heap().allocate(layout::bitmap::kSize);
        const HostAddr pixels = host.heap().allocate(sim_timer::kBitmapWidth * sim_timer::kBitmapHeight);
        memory.pokeU32(bitmap + layout::bitmap::kClass, host.base() + layout::image::kBitmapClassTable);
        memory.pokeU32(bitmap + layout::bitmap::kPixels, pixels);
        memory.pokeU32(bitmap + layout::bitmap::kBitsPerPixel, 8);
        memory.pokeU32(bitmap + layout::bitmap::kStride, sim_timer::kBitmapWidth);
        memory.pokeU32(bitmap + layout::bitmap::kWidth, sim_timer::kBitmapWidth);
        memory.pokeU32(bitmap + layout::bitmap::kHeight, sim_timer::kBitmapHeight);
        memory.pokeU32(render.renderer + sim_timer::kRendererBitmap, bitmap);
    }
    memory.pokeU32(render.renderer + sim_timer::kRendererSelector, render.colour);
    std::string text;
    for (HostAddr at = render.text; text.size() < 8; ++at) {
        uint8_t c;
        memory.peek(at, &c, 1);
        if (c == 0) break;
        text.push_back(static_cast<char>(c));
    }
    Palette palette;
    memory.peek(display + layout::display::kPalette, palette.data(), palette.size());
    const uint8_t ink = render.colour == 7   ? nearestPaletteEntry(palette, 255, 255, 255)
                        : render.colour == 8 ? nearestPaletteEntry(palette, 255, 230, 120)
                                             : nearestPaletteEntry(palette, 160, 160, 160);
    const HostAddr pixels = memory.peekU32(bitmap + layout::bitmap::kPixels);
    Canvas8 canvas{memory.span(pixels, sim_timer::kBitmapWidth * sim_timer::kBitmapHeight), sim_timer::kBitmapWidth,
                   ClipRect{0, 0, sim_timer::kBitmapWidth, sim_timer::kBitmapHeight}};
    fillRect(canvas, canvas.clip, 0);
    const TextExtent extent = measureText(text, 2);
    drawText(canvas, (static_cast<int32_t>(sim_timer::kBitmapWidth) - extent.width) / 2,
             (static_cast<int32_t>(sim_timer::kBitmapHeight) - extent.height) / 2, text, 2, ink,
             nearestPaletteEntry(palette, 24, 24, 24));
    if (render.out) memory.pokeU32(render.out, static_cast<uint32_t>(extent.width));
    return bitmap;
}

}  // namespace

void defineTimerCode(SimHost& host) {
    namespace image = layout::image;
    const HostAddr base = host.base();
    layoutCallSites(host.memory(), base);
    host.defineHostRoutine(base + image::kTimerUpdate, [&host](SimCall& call) {
        hostTimerUpdate(host.memory(), call.ecx);
        return call.eax;
    });
    host.defineHostRoutine(base + image::kTimerTeam, [&host](SimCall& call) {
        hostTimerTeam(host.memory(), call.eax, call.edx);
        return call.eax;
    });
    host.defineHostRoutine(base + image::kTimerRender, [&host](SimCall& call) {
        const auto& stack = call.stackArguments;
        if (stack.size() != 6) throw std::logic_error("simulated host: the timer renderer takes six arguments");
        return hostTimerRender(host, TimerRender{stack[0], stack[1], stack[2], stack[3], stack[4], stack[5]});
    });
}

}  // namespace tarvek::sim
