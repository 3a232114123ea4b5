#pragma once
// The host's bitmap objects (header fields in host_layout::bitmap) and their pixel rows.
#include <cstdint>
#include <vector>

#include "sim/address_space.h"

namespace tarvek::sim {

struct SimBitmap {
    HostAddr object = 0;
    HostAddr pixels = 0;
};

// rows holds stride x height bytes, laid out as the host keeps them.
SimBitmap placeBitmap(AddressSpace& space, uint32_t bitsPerPixel, uint32_t width, uint32_t height,
                      uint32_t stride, const std::vector<uint8_t>& rows);

// Rows of rowBytes bytes laid out `stride` apart, the gap filled with junk (8-bit images).
std::vector<uint8_t> paddedRows(const std::vector<uint8_t>& rows, uint32_t rowBytes, uint32_t height,
                                uint32_t stride, uint8_t junk = 0xA5);

// The host's collision mask rows (pixel x at bit x mod 8, LSB first) from MSB-first packed rows
// of ceil(width / 8) bytes (PBM order). Every bit and byte past the last pixel is set to junk.
std::vector<uint8_t> hostMaskRows(const std::vector<uint8_t>& msbRows, uint32_t width,
                                  uint32_t height, uint32_t stride, uint8_t junk = 0xA5);

}  // namespace tarvek::sim
