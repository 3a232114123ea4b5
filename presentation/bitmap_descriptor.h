#pragma once
// How a bitmap of the module's own is described to the host's bitmap routines: an object of the
// host bitmap class (pixels, depth, stride, size and a clip rectangle covering it all).
#include <array>
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

struct BitmapDescriptor {
    std::array<uint32_t, 11> words{};  // the host's 0x2C-byte bitmap object
};

BitmapDescriptor describeBitmap(HostAddr pixels, uint32_t stride, uint32_t width, uint32_t height);

}  // namespace tarvek
