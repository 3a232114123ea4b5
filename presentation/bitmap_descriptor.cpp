#include "presentation/bitmap_descriptor.h"

#include "host/host_context.h"
#include "host/host_layout.h"

namespace tarvek {

BitmapDescriptor describeBitmap(HostAddr pixels, uint32_t stride, uint32_t width, uint32_t height) {
    BitmapDescriptor descriptor;
    descriptor.words = {hostBase() + host_layout::image::kBitmapClassTable, 1, pixels, 8, stride, width, height,
                        0, 0, width, height};
    return descriptor;
}

}  // namespace tarvek
