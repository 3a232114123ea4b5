#pragma once
// Binary Netpbm images, the exchange format of the map hash tools: P4 (1-bit, rows packed
// MSB-first, 1 = solid) for collision masks and P5 (8-bit grey) for terrain images.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tarvek::tools {

struct NetpbmImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rows;  // P4: ceil(width / 8) bytes per row; P5: width bytes per row
};

// Both refuse other formats, a zero or absurd size, 16-bit grey and truncated pixel data.
std::optional<NetpbmImage> parsePbm(std::string_view bytes);
std::optional<NetpbmImage> parsePgm(std::string_view bytes);

}  // namespace tarvek::tools
