#pragma once
// The ghost drawing pass: draws one ghost frame through the host's worm and rope routines and
// marks the render commands they produce for the display hooks.
#include <cstdint>

#include "ghostdata/ghost_recording.h"
#include "host/host_memory.h"
#include "host/settings.h"

namespace tarvek {

// Where the crown sits on the ghost: the anchor angle (1/65536 of a turn), the
// distance above the anchor and the sideways head shift, in pixels.
struct CrownPlacement {
    uint32_t anchor = 0;
    int32_t distance = 0;
    int32_t headShift = 0;
};

// What the drawing pass worked out for a ghost this frame, read by the display hooks.
struct GhostDrawState {
    uint32_t fadeLevel = 0;  // 0..5: the level table the ghost is drawn through
    CrownPlacement crown;
};

GhostDrawState& ghostDrawState(bool isBlue);

// 0 (far) to 5 (at the live worm) from the distance between the two 16.16 positions.
uint32_t proximityFadeLevel(const Settings& settings, int32_t liveX, int32_t liveY, int32_t ghostX, int32_t ghostY);

// Never throws: whatever goes wrong skips this ghost for this frame.
void drawGhost(HostAddr worm, const GhostFrame& frame, bool isBlue) noexcept;

}  // namespace tarvek
