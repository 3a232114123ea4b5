#pragma once
// What rides on the world-record ghost's sprite: the crown, turned with the worm, and the tag.
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

// Where the crown goes relative to the sprite position, and which of the 32 turned sprites.
struct CrownOffset {
    int32_t dx = 0;  // 16.16
    int32_t dy = 0;
    uint32_t sprite = 0;
};

// The vector (-headShift, -distance) pixels turned by the anchor angle (1/65536 of a turn).
CrownOffset crownOffset(uint32_t anchor, int32_t distance, int32_t headShift);

void drawGoldExtras(HostAddr display, int32_t x, int32_t y, bool tableAlreadySwapped);

}  // namespace tarvek
