#include "ghostdata/host_bitmap.h"

#include "ghostdata/ghost_format.h"

namespace tarvek {

std::optional<HostBitmap> readHostBitmap(const HostMemory& memory, HostAddr object) {
    uint8_t bytes[28];
    if (!memory.read(object, bytes, sizeof bytes)) return std::nullopt;
    HostBitmap bitmap;
    bitmap.pixels = readLe32(bytes + 0x8);
    bitmap.bitsPerPixel = readLe32(bytes + 0xC);
    bitmap.stride = readLe32(bytes + 0x10);
    bitmap.width = readLe32(bytes + 0x14);
    bitmap.height = readLe32(bytes + 0x18);
    return bitmap;
}

}  // namespace tarvek
