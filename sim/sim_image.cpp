#include "sim/sim_image.h"

#include <cstring>

#include "host/hook_table.h"
#include "host/host_layout.h"

namespace tarvek::sim {
namespace {

namespace image = host_layout::image;

void fillTable(SimMemory& memory, HostAddr base, uint32_t table, uint32_t span, uint32_t routines) {
    for (uint32_t slot = 0; slot < span / 4; ++slot) memory.pokeU32(base + table + 4 * slot, base + routines + 0x10 * slot);
}

void layOutCallSite(SimMemory& memory, HostAddr base, const CallSiteHook& hook) {
    writeCall(memory, base, hook.site, hook.expectedTarget);
    for (const CodeCheck& check : hook.checks)
        if (!check.bytes.empty()) memory.poke(base + check.offset, check.bytes.data(), check.bytes.size());
}

}  // namespace

void writeCall(SimMemory& memory, HostAddr base, uint32_t site, uint32_t target) {
    const uint32_t displacement = target - (site + 5);
    uint8_t call[5] = {0xE8};
    std::memcpy(call + 1, &displacement, 4);
    memory.poke(base + site, call, sizeof call);
}

HostAddr callTarget(const SimMemory& memory, HostAddr base, uint32_t site) {
    return base + site + 5 + memory.peekU32(base + site + 1);
}

void layOutHostImage(SimMemory& memory, HostAddr base) {
    for (const CallSiteHook* hook : {&hooks::kMapSourceCapture, &hooks::kChat, &hooks::kTimerColourA,
                                     &hooks::kTimerColourB, &hooks::kTimerDrawing})
        layOutCallSite(memory, base, *hook);

    fillTable(memory, base, image::kWormClassTable, hooks::kWormMessage.readableSpan, kWormRoutines);
    fillTable(memory, base, image::kDisplayClassTable, hooks::kDisplayLines.readableSpan, kDisplayRoutines);
    fillTable(memory, base, image::kLandscapeClassTable, hooks::kLandscapeInitBorders.readableSpan, kLandscapeRoutines);
    memory.pokeU32(base + image::kWormHandleMessageEntry, base + image::kWormHandleMessage);
    memory.pokeU32(base + image::kLandscapeInitBordersEntry, base + image::kLandscapeInitBorders);
}

}  // namespace tarvek::sim
