#pragma once
// The host's bitmap objects (host bitmap class; the display's drawing surface has the same
// header), read through the guarded host memory.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "host/host_layout.h"
#include "host/host_memory.h"

namespace tarvek {

static_assert(std::endian::native == std::endian::little, "host objects are copied as they lie in memory");

#pragma pack(push, 1)
struct HostBitmapObject {
    uint32_t classTable;
    uint32_t unknown;
    uint32_t pixels;
    uint32_t bitsPerPixel;
    uint32_t stride;
    uint32_t width;
    uint32_t height;
};
#pragma pack(pop)

static_assert(sizeof(HostBitmapObject) == host_layout::bitmap::kObjectSize);
static_assert(offsetof(HostBitmapObject, pixels) == host_layout::bitmap::kPixels &&
              offsetof(HostBitmapObject, bitsPerPixel) == host_layout::bitmap::kBitsPerPixel &&
              offsetof(HostBitmapObject, stride) == host_layout::bitmap::kStride &&
              offsetof(HostBitmapObject, width) == host_layout::bitmap::kWidth &&
              offsetof(HostBitmapObject, height) == host_layout::bitmap::kHeight);

struct HostBitmap {
    HostAddr pixels = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t stride = 0;
    uint32_t width = 0;
    uint32_t height = 0;
};

// The bitmap object at addr, when all of it is readable.
std::optional<HostBitmap> readHostBitmap(const HostMemory& memory, HostAddr object);

}  // namespace tarvek
