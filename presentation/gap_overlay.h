#pragma once
// The end-of-turn gap message on screen: rendered once per message by the host's text routine,
// set on a dark box and drawn at the top of the display's visible area.
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

inline constexpr uint32_t kGapCanvasWidth = 512;
inline constexpr uint32_t kGapCanvasHeight = 32;

// Host text styles by feedback status.
inline constexpr uint32_t kGapStyleBehind = 17;
inline constexpr uint32_t kGapStyleAhead = 19;
inline constexpr uint32_t kGapStyleEven = 20;

// Draws the active gap message posted for this display, if any.
void drawGapMessage(HostAddr display);

}  // namespace tarvek
