#pragma once
// The module's routines in the display class table. The line and sprite routines take the host's
// arguments, do the module's work and call the entry they replaced themselves, returning its
// result; the overlay runs before the host's frame-end routine, which its entry then calls.
// Nothing escapes into the host.
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

// The entries the line, sprite and overlay hooks replaced: the hook patch's own previous-target
// slots, stored before the hooks can run, which the x86 entries chain through as well.
struct DisplayHookTargets {
    HostAddr& wideLine;  // slot 13
    HostAddr& thinLine;  // slot 14
    HostAddr& sprite;    // slot 19
    HostAddr& overlay;   // slot 26
};

DisplayHookTargets& displayHookTargets();

uint32_t onDisplayWideLine(HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                           uint32_t width) noexcept;
uint32_t onDisplayThinLine(HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                           uint32_t colour) noexcept;
uint32_t onDisplaySprite(HostAddr display, int32_t x, int32_t y, uint32_t flags, uint32_t sprite) noexcept;
// Before slot 26: lines still batched are drawn, then the active end-of-turn gap message.
void onDisplayOverlay(HostAddr display) noexcept;

}  // namespace tarvek
