#include "platform/x86/x86_hooks.h"

#include <cstdint>

#include "host/host_routines.h"
#include "platform/x86/thunk_entries.h"

namespace tarvek {
namespace {

HostAddr thunk(void (*routine)()) { return static_cast<HostAddr>(reinterpret_cast<uintptr_t>(routine)); }

}  // namespace

HookAddresses x86HookAddresses(const HookRoutines& r) {
    std::array<HostAddr, kHookCount> thunks{};
    auto connect = [&](int id, bool present, void (*routine)()) { thunks[id] = present ? thunk(routine) : 0; };
    connect(TARVEK_HOOK_MAP_SOURCE, r.mapSourceLoaded, &tarvekMapSourceThunk);
    connect(TARVEK_HOOK_CHAT, r.chatCommand, &tarvekChatThunk);
    connect(TARVEK_HOOK_TIMER_COLOUR_A, r.timerColourA, &tarvekTimerColourAThunk);
    connect(TARVEK_HOOK_TIMER_COLOUR_B, r.timerColourB && r.timerColourBDone, &tarvekTimerColourBThunk);
    connect(TARVEK_HOOK_TIMER_DRAWING, r.timerDrawing && r.timerDrawingDone, &tarvekTimerDrawingThunk);
    connect(TARVEK_HOOK_WORM_MESSAGE, r.wormMessage, &tarvekWormMessageThunk);
    connect(TARVEK_HOOK_DISPLAY_LINE6, r.displayLine6, &tarvekDisplayLine6Thunk);
    connect(TARVEK_HOOK_DISPLAY_LINE5, r.displayLine5, &tarvekDisplayLine5Thunk);
    connect(TARVEK_HOOK_DISPLAY_SPRITE, r.displaySprite, &tarvekDisplaySpriteThunk);
    connect(TARVEK_HOOK_DISPLAY_OVERLAY, r.displayOverlay, &tarvekDisplayOverlayThunk);
    connect(TARVEK_HOOK_INIT_BORDERS, r.initBordersEntered, &tarvekInitBordersThunk);
    return withPreviousTargetSlots(thunks);
}

void X86HostCalls::callWormHandler(HostAddr handler, HostAddr worm, HostAddr sender, uint32_t messageType,
                                   uint32_t size, HostAddr data) {
    const uint32_t arguments[] = {sender, messageType, size, data};
    tarvekCallHost(handler, 0, worm, arguments, 4);
}

void X86HostCalls::drawWorm(HostAddr wormImage) {
    if (const HostAddr routine = hostRoutines().drawWorm) tarvekCallHost(routine, wormImage, 0, nullptr, 0);
}

void X86HostCalls::drawRope(HostAddr worm, uint32_t colourEntry9, uint32_t colourEntry7) {
    const uint32_t arguments[] = {worm, colourEntry9, colourEntry7};
    if (const HostAddr routine = hostRoutines().drawRope) tarvekCallHost(routine, 0, 0, arguments, 3);
}

void X86HostCalls::printChatLine(HostAddr routine, HostAddr chatObject, uint32_t printWord, const char* text) {
    // All four on the stack, removed by the host routine.
    const uint32_t arguments[4] = {chatObject, printWord, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text)), 0};
    tarvekCallHost(routine, 0, 0, arguments, 4);
}

}  // namespace tarvek
