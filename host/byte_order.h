#pragma once
// The game and its files store words little-endian.
#include <cstdint>

namespace tarvek {

constexpr uint32_t readLe32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

}  // namespace tarvek
