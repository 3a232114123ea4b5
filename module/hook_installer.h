#pragma once
// Installs the module's hooks in their dependency order.
#include <array>
#include <optional>

#include "host/hook_table.h"
#include "host/patch_engine.h"

namespace tarvek {

struct HookAddresses {
    std::array<HostAddr, kHookCount> routine{};    // 0: this build has no routine for the hook
    std::array<HostAddr*, kHookCount> previous{};  // where each hook keeps its previous target
};

// Previous targets in tarvekPreviousTargets, except the worm handler's, which the frame driver keeps.
HookAddresses withPreviousTargetSlots(std::array<HostAddr, kHookCount> routines);

// What became of each hook; empty when it was not attempted.
using HookReport = std::array<std::optional<PatchOutcome>, kHookCount>;

// The map-source capture alone, as the library entry point installs it (without the chaining line).
PatchOutcome installMapSourceCapture(HostMemory& memory, HostAddr base, const HookAddresses& hooks,
                                     bool logChaining);

// Every hook in order: map-source capture, chat, turn-timer colour A and then (only when A is in
// place) B and the timer drawing, worm HandleMessage and then (only when made now) the display
// entries 1 to 3, and (only when those are made) display entry 4 and Landscape InitBorders.
// Remembers the chat print routine, and the drawing routines when the worm handler is patched.
HookReport installHooks(HostMemory& memory, HostAddr base, const HookAddresses& hooks);

}  // namespace tarvek
