#include "sim/sim_bitmap.h"

#include <algorithm>
#include <stdexcept>

#include "host/host_layout.h"

namespace tarvek::sim {

SimBitmap placeBitmap(AddressSpace& space, uint32_t bitsPerPixel, uint32_t width, uint32_t height,
                      uint32_t stride, const std::vector<uint8_t>& rows) {
    namespace fields = host_layout::bitmap;
    if (uint64_t{stride} * height != rows.size()) throw std::invalid_argument("placeBitmap: rows size");
    SimBitmap bitmap;
    bitmap.object = space.allocate(fields::kObjectSize);
    bitmap.pixels = rows.empty() ? 0 : space.allocate(static_cast<uint32_t>(rows.size()));
    if (!rows.empty()) space.write(bitmap.pixels, rows.data(), rows.size());
    space.writeU32(bitmap.object + fields::kPixels, bitmap.pixels);
    space.writeU32(bitmap.object + fields::kBitsPerPixel, bitsPerPixel);
    space.writeU32(bitmap.object + fields::kStride, stride);
    space.writeU32(bitmap.object + fields::kWidth, width);
    space.writeU32(bitmap.object + fields::kHeight, height);
    return bitmap;
}

std::vector<uint8_t> paddedRows(const std::vector<uint8_t>& rows, uint32_t rowBytes, uint32_t height,
                                uint32_t stride, uint8_t junk) {
    if (stride < rowBytes || uint64_t{rowBytes} * height != rows.size())
        throw std::invalid_argument("paddedRows: shape");
    std::vector<uint8_t> out(size_t{stride} * height, junk);
    for (uint32_t y = 0; y < height; ++y)
        std::copy_n(rows.begin() + static_cast<ptrdiff_t>(size_t{y} * rowBytes), rowBytes,
                    out.begin() + static_cast<ptrdiff_t>(size_t{y} * stride));
    return out;
}

std::vector<uint8_t> hostMaskRows(const std::vector<uint8_t>& msbRows, uint32_t width,
                                  uint32_t height, uint32_t stride, uint8_t junk) {
    const uint32_t rowBytes = (width + 7) / 8;
    if (stride < rowBytes || uint64_t{rowBytes} * height != msbRows.size())
        throw std::invalid_argument("hostMaskRows: shape");
    std::vector<uint8_t> rows(size_t{stride} * height, junk);
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* out = rows.data() + size_t{y} * stride;
        for (uint32_t byte = 0; byte < rowBytes; ++byte) out[byte] = 0;
        for (uint32_t x = 0; x < rowBytes * 8; ++x) {
            const bool solid = x < width
                                   ? (msbRows[size_t{y} * rowBytes + x / 8] >> (7 - x % 8)) & 1
                                   : (junk >> (x % 8)) & 1;
            if (solid) out[x / 8] |= static_cast<uint8_t>(1u << (x % 8));
        }
    }
    return rows;
}

}  // namespace tarvek::sim
