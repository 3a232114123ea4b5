#include "platform/x86/x86_hooks.h"

#include <cstdint>

#include "host/host_routines.h"
#include "platform/x86/thunk_entries.h"

namespace tarvek {
namespace {

HostAddr thunk(void (*routine)()) { return static_cast<HostAddr>(reinterpret_cast<uintptr_t>(routine)); }

uint32_t word(int32_t value) { return static_cast<uint32_t>(value); }

// Display class-table routines are members of the display: the object in ECX, the arguments on
// the stack in the host's order.
template <size_t Count>
uint32_t callDisplay(HostAddr routine, HostAddr display, const uint32_t (&arguments)[Count]) {
    return tarvekCallHost(routine, 0, display, arguments, Count);
}

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

int32_t X86HostCalls::callDisplayText(HostAddr routine, HostAddr display, const TextDraw& draw) {
    const uint32_t arguments[] = {draw.style,  draw.bitmap, word(draw.x),   word(draw.y),
                                  draw.text,   draw.outWidth, draw.outHeight};
    return static_cast<int32_t>(callDisplay(routine, display, arguments));
}

uint32_t X86HostCalls::callDisplayWideLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2,
                                           int32_t y2, uint32_t colour, uint32_t width) {
    const uint32_t arguments[] = {word(x1), word(y1), word(x2), word(y2), colour, width};
    return callDisplay(routine, display, arguments);
}

uint32_t X86HostCalls::callDisplayThinLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2,
                                           int32_t y2, uint32_t colour) {
    const uint32_t arguments[] = {word(x1), word(y1), word(x2), word(y2), colour};
    return callDisplay(routine, display, arguments);
}

uint32_t X86HostCalls::callDisplaySprite(HostAddr routine, HostAddr display, int32_t x, int32_t y, uint32_t flags,
                                         uint32_t sprite) {
    const uint32_t arguments[] = {word(x), word(y), flags, sprite};
    return callDisplay(routine, display, arguments);
}

void X86HostCalls::callDisplayBitmap(HostAddr routine, HostAddr display, const BitmapDraw& draw) {
    const uint32_t arguments[] = {word(draw.x),       word(draw.y),     draw.bitmap,      word(draw.sourceX),
                                  word(draw.sourceY), word(draw.width), word(draw.height), draw.flags};
    callDisplay(routine, display, arguments);
}

}  // namespace tarvek
