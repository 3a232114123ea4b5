#include "sim/sim_hook_entries.h"

namespace tarvek::sim {
namespace {

uint32_t word(int32_t value) { return static_cast<uint32_t>(value); }

}  // namespace

HookAddresses simHookAddresses(SimHost& host, const HookRoutines& r) {
    std::array<HostAddr, kHookCount> entries{};
    // The slots are the module's own: filled by the patch, read at each call.
    const HookAddresses slots = withPreviousTargetSlots(entries);
    auto previous = [slots](int id) { return *slots.previous[id]; };
    auto code = [&](int id, bool present, SimHost::CodeRoutine entry) {
        if (present) entries[id] = host.registerCodeRoutine(std::move(entry));
    };

    // LoadLandDat returns first; the module hashes the mask it built.
    code(TARVEK_HOOK_MAP_SOURCE, r.mapSourceLoaded, [&host, r, previous](SimCall& call) {
        const uint32_t result = host.callCode(previous(TARVEK_HOOK_MAP_SOURCE), call);
        r.mapSourceLoaded(call.ecx);
        return result;
    });
    // A consumed line returns 1 to the game; any other goes on to the game's chat send.
    code(TARVEK_HOOK_CHAT, r.chatCommand, [&host, r, previous](SimCall& call) -> uint32_t {
        if (r.chatCommand(call.ecx, call.eax) != 0) return 1;
        return host.callCode(previous(TARVEK_HOOK_CHAT), call);
    });
    code(TARVEK_HOOK_INIT_BORDERS, r.initBordersEntered, [&host, r, previous](SimCall& call) {
        int32_t borders[4]{};
        for (size_t i = 0; i < 4 && i < call.stackArguments.size(); ++i)
            borders[i] = static_cast<int32_t>(call.stackArguments[i]);
        r.initBordersEntered(call.ecx, borders);
        return host.callCode(previous(TARVEK_HOOK_INIT_BORDERS), call);
    });
    // The turn-timer entries keep the host's registers around the module's work and the call.
    code(TARVEK_HOOK_TIMER_COLOUR_A, r.timerColourA, [&host, r, previous](SimCall& call) {
        r.timerColourA(call.ecx);
        return host.callCode(previous(TARVEK_HOOK_TIMER_COLOUR_A), call);
    });
    code(TARVEK_HOOK_TIMER_COLOUR_B, r.timerColourB && r.timerColourBDone, [&host, r, previous](SimCall& call) {
        r.timerColourB(call.eax, call.edx);
        const uint32_t result = host.callCode(previous(TARVEK_HOOK_TIMER_COLOUR_B), call);
        r.timerColourBDone();
        return result;
    });
    // The colour parameter is the third stack argument; the host sees the one the module chose.
    code(TARVEK_HOOK_TIMER_DRAWING, r.timerDrawing && r.timerDrawingDone, [&host, r, previous](SimCall& call) {
        SimCall forwarded = call;
        r.timerDrawing(forwarded.stackArguments.at(0), forwarded.stackArguments.at(2));
        const uint32_t bitmap = host.callCode(previous(TARVEK_HOOK_TIMER_DRAWING), forwarded);
        r.timerDrawingDone(bitmap);
        return bitmap;
    });
    // Display slots: the module's routines chain to the replaced entries themselves.
    if (r.displayLine6)
        entries[TARVEK_HOOK_DISPLAY_LINE6] = host.registerRoutine(
            &SimRoutines::wideLine,
            {[r](HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, uint32_t width) {
                uint32_t arguments[] = {word(x1), word(y1), word(x2), word(y2), colour, width};
                return r.displayLine6(display, arguments);
            }});
    if (r.displayLine5)
        entries[TARVEK_HOOK_DISPLAY_LINE5] = host.registerRoutine(
            &SimRoutines::thinLine, {[r](HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
                uint32_t arguments[] = {word(x1), word(y1), word(x2), word(y2), colour};
                return r.displayLine5(display, arguments);
            }});
    if (r.displaySprite)
        entries[TARVEK_HOOK_DISPLAY_SPRITE] = host.registerRoutine(
            &SimRoutines::sprite, {[r](HostAddr display, int32_t x, int32_t y, uint32_t flags, uint32_t sprite) {
                uint32_t arguments[] = {word(x), word(y), flags, sprite};
                return r.displaySprite(display, arguments);
            }});
    // The overlay draws first, then enters the entry it replaced as the host would have.
    if (r.displayOverlay)
        entries[TARVEK_HOOK_DISPLAY_OVERLAY] =
            host.registerRoutine(&SimRoutines::frameEnd, {[&host, r, previous](HostAddr display) {
                                     r.displayOverlay(display);
                                     host.callDisplayFrameEnd(previous(TARVEK_HOOK_DISPLAY_OVERLAY), display);
                                 }});
    // The frame driver chains to the previous handler itself.
    if (r.wormMessage) entries[TARVEK_HOOK_WORM_MESSAGE] = host.registerWormRoutine(r.wormMessage);

    return withPreviousTargetSlots(entries);
}

}  // namespace tarvek::sim
