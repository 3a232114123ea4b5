#include "ghostdata/host_bitmap.h"

namespace tarvek {

std::optional<HostBitmap> readHostBitmap(const HostMemory& memory, HostAddr object) {
    HostBitmapObject raw;
    if (!memory.read(object, &raw, sizeof raw)) return std::nullopt;
    return HostBitmap{raw.pixels, raw.bitsPerPixel, raw.stride, raw.width, raw.height};
}

}  // namespace tarvek
