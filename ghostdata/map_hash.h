#pragma once
// Map identity: SHA-256 of the landscape's collision mask (geometry hash) or of its 8-bit
// terrain image (terrain hash), as 64 lower-case hexadecimal digits.
#include <cstdint>
#include <optional>
#include <string>

#include "ghostdata/host_bitmap.h"
#include "host/host_memory.h"

namespace tarvek {

inline constexpr uint32_t kMaxMapSide = 32768;
inline constexpr uint32_t kMaxMaskStride = 8192;

struct MaskHash {
    std::string hash;
    HostAddr pixels = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t stride = 0;
    uint64_t solidPixels = 0;
};

// Hashes a 1-bit LSB-first mask bitmap as MSB-first rows of ceil(W / 8) bytes with the bits past
// the last pixel cleared, so that stride and padding never change the hash.
bool hashMaskBitmap(const HostMemory& memory, const HostBitmap& mask, MaskHash& out);
// The collision mask at Landscape+0x914.
bool hashCollisionMask(const HostMemory& memory, HostAddr landscape, MaskHash& out);

struct TerrainHash {
    std::string hash;                       // empty when a row was unreadable
    std::optional<uint32_t> unreadableRow;  // the first row that could not be read
};

// Hashes the first `width` bytes of each of `height` rows of an 8-bit terrain image. The caller
// has checked the bitmap against the world's dimensions.
TerrainHash hashTerrain(const HostMemory& memory, const HostBitmap& terrain, uint32_t width,
                        uint32_t height);

}  // namespace tarvek
