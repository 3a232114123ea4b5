#pragma once
// What the display hooks read of the host's display object, each through guarded reads.
#include <cstdint>
#include <optional>

#include "host/host_memory.h"

namespace tarvek {

// The routine at an entry (host_layout::display_table) of the display's class table; 0 when the
// table cannot be read.
HostAddr displayRoutine(HostAddr display, uint32_t tableOffset);

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// The display's scroll offset (pixels added to world positions).
std::optional<ScreenPoint> displayScroll(HostAddr display);

// The display's current drawing surface, when it qualifies for tile snapshots: 1..32768 pixels
// wide and high, a stride not below the width, and its clip rectangle limited to the surface
// (right and bottom exclusive, never empty).
struct DisplaySurface {
    HostAddr pixels = 0;
    uint32_t stride = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t clipLeft = 0;
    int32_t clipTop = 0;
    int32_t clipRight = 0;
    int32_t clipBottom = 0;
};

std::optional<DisplaySurface> displaySurface(HostAddr display);

}  // namespace tarvek
