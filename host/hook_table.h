#pragma once
// The module's hooks into the host: where each one sits (offsets from the host base, from
// host_layout.h), which host routine it expects there and what it accepts instead.
//
// Call contracts at the hooks. The host fixes only part of them; the rest is settled here once,
// and the x86 thunks, the simulated host and the 32-bit Windows test host all follow it:
//  - map-source capture (LoadLandDat call): the Landscape object is in ECX. The module hashes its
//    collision mask after the host routine returns; stack arguments, registers and the result
//    pass through untouched.
//  - chat (chat-send call): chat object in ECX, text in EAX, one stack argument that the callee
//    removes; the result is in EAX.
//  - turn-timer colour A (timer update call): the timer object is in ECX.
//  - turn-timer colour B: the timer object is in EAX and the team number in EDX; the bytes right
//    before the call, 8B C1 8B D7, are "mov eax, ecx; mov edx, edi".
//  - turn-timer drawing: six stack arguments that the callee removes (the checked bytes push
//    EAX, ESI, EDX, 0, 0, ECX, so the first argument is pushed last). Argument 0 is the object
//    whose word at +0x14 is the display and whose word at +0x11C is the redraw counter;
//    argument 2 is the colour parameter; EAX returns the rendered bitmap.
//  - worm HandleMessage: thiscall, the worm in ECX and (sender, type, size, data) on the stack,
//    removed by the callee; no result.
//  - display slots 13 and 14 (line draws): thiscall with six and five stack arguments; slot 19
//    (sprite draw): thiscall with (x, y, flags, sprite). Each returns its result in EAX.
//  - display slot 26 (overlay): the display object is in ECX. The module draws first and then
//    enters the host routine with every register and stack argument as it found them, so the
//    slot's own arguments need not be known.
//  - Landscape InitBorders: the landscape in ECX and the requested borders (left, right, top,
//    bottom) as the first four stack arguments; read on entry, everything passed through.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "host/hook_ids.h"

namespace tarvek {

inline constexpr int kHookCount = TARVEK_HOOK_COUNT;

// What a patch accepts when the slot does not hold the expected host routine (another module
// was there first).
enum class ForeignTarget : uint8_t {
    ChainLogged,      // chain after it, with the "is already hooked" line
    ChainSilently,    // chain after it
    ChainIfReadable,  // chain after it when its first byte is readable
    Refuse,           // leave the hook out
};

// Host code bytes that must match exactly before a call site is patched.
struct CodeCheck {
    uint32_t offset = 0;
    std::span<const uint8_t> bytes;
};

struct CallSiteHook {
    int id = 0;
    uint32_t site = 0;  // the E8 byte
    uint32_t expectedTarget = 0;
    ForeignTarget foreign = ForeignTarget::ChainSilently;
    std::string_view logName;
    std::array<CodeCheck, 2> checks{};
    bool rewritesOpcode = false;  // writes the E8 byte with the displacement (5 bytes)
};

struct TableEntryHook {
    int id = 0;          // of the first entry; a second entry has the next id
    uint32_t count = 1;  // adjacent entries written together (1 or 2)
    uint32_t table = 0;
    uint32_t entry = 0;
    uint32_t readableSpan = 0;    // bytes from the table start that must be readable
    uint32_t expectedTarget = 0;  // 0: none expected
    ForeignTarget foreign = ForeignTarget::ChainSilently;
    std::string_view logName;
    bool exchange = false;  // written with one atomic exchange
};

namespace hooks {
extern const CallSiteHook kMapSourceCapture;
extern const CallSiteHook kChat;
extern const CallSiteHook kTimerColourA;
extern const CallSiteHook kTimerColourB;
extern const CallSiteHook kTimerDrawing;
extern const TableEntryHook kWormMessage;
extern const TableEntryHook kDisplayLines;  // slots 13 and 14, written together
extern const TableEntryHook kDisplaySprite;
extern const TableEntryHook kDisplayOverlay;
extern const TableEntryHook kLandscapeInitBorders;
}  // namespace hooks

}  // namespace tarvek

// Where each hook keeps the target it replaced; the thunks read it to chain.
extern "C" uint32_t tarvekPreviousTargets[TARVEK_HOOK_COUNT];
