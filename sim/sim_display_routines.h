#pragma once
// The game's own display routines (the class-table slots the module hooks or calls), drawing
// into the display's current surface.
#include <cstdint>

#include "host/host_calls.h"
#include "sim/address_space.h"

namespace tarvek::sim {

int32_t hostDisplayText(AddressSpace& memory, HostAddr display, const TextDraw& draw);
void hostDisplayLine(AddressSpace& memory, HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                     uint32_t colour, uint32_t width);
void hostDisplaySprite(AddressSpace& memory, HostAddr display, int32_t x, int32_t y, uint32_t flags, uint32_t sprite);
void hostDisplayBitmap(AddressSpace& memory, HostAddr display, const BitmapDraw& draw);

}  // namespace tarvek::sim
