#pragma once
// The module's routines in the display class table. Each takes the host's arguments, does the
// module's work, and always calls the entry it replaced; nothing escapes into the host.
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

// The entries the display hooks replaced, stored by the hook patch before the hooks can run.
struct DisplayHookTargets {
    HostAddr wideLine = 0;  // slot 13
    HostAddr thinLine = 0;  // slot 14
    HostAddr sprite = 0;    // slot 19
    HostAddr frameEnd = 0;  // slot 26
};

DisplayHookTargets& displayHookTargets();

void onDisplayWideLine(HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                       uint32_t width) noexcept;
void onDisplayThinLine(HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) noexcept;
void onDisplaySprite(HostAddr display, int32_t x, int32_t y, uint32_t flags, uint32_t sprite) noexcept;
// Draws the active end-of-turn gap message before the host ends its frame.
void onDisplayFrameEnd(HostAddr display) noexcept;

}  // namespace tarvek
