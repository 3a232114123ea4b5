#include "ghostdata/map_hash.h"

#include <array>
#include <bit>
#include <vector>

#include "ghostdata/sha256.h"
#include "host/host_layout.h"

namespace tarvek {
namespace {

constexpr std::string_view kGeometryDomain = "TarvekMapGeometryV1";
constexpr std::string_view kTerrainDomain = "TarvekMapTerrainV1";

constexpr std::array<uint8_t, 256> kReversedBits = [] {
    std::array<uint8_t, 256> table{};
    for (unsigned value = 0; value < 256; ++value) {
        unsigned reversed = 0;
        for (unsigned bit = 0; bit < 8; ++bit)
            if (value & (1u << bit)) reversed |= 0x80u >> bit;
        table[value] = static_cast<uint8_t>(reversed);
    }
    return table;
}();

void updateLe32(Sha256& hash, uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    hash.update(bytes, sizeof bytes);
}

bool maskShapeIsSound(const HostBitmap& mask) {
    if (mask.pixels == 0 || mask.bitsPerPixel != 1) return false;
    if (mask.width < 1 || mask.width > kMaxMapSide || mask.height < 1 || mask.height > kMaxMapSide)
        return false;
    const uint32_t rowBytes = (mask.width + 7) / 8;
    return mask.stride <= kMaxMaskStride && mask.stride >= rowBytes;
}

}  // namespace

bool hashMaskBitmap(const HostMemory& memory, const HostBitmap& mask, MaskHash& out) {
    if (!maskShapeIsSound(mask)) return false;
    // At most 8192 x 32768 bytes: the product fits 32 bits.
    if (!memory.isReadable(mask.pixels, size_t{mask.stride} * mask.height)) return false;

    const uint32_t rowBytes = (mask.width + 7) / 8;
    const unsigned tailBits = mask.width % 8;
    const uint8_t lastByteMask = tailBits == 0 ? 0xFF : static_cast<uint8_t>(0xFF00u >> tailBits);
    std::vector<uint8_t> row(rowBytes);
    Sha256 hash;
    hash.update(kGeometryDomain);
    updateLe32(hash, mask.width);
    updateLe32(hash, mask.height);
    uint64_t solid = 0;
    for (uint32_t y = 0; y < mask.height; ++y) {
        if (!memory.read(mask.pixels + y * mask.stride, row.data(), rowBytes)) return false;
        for (uint8_t& byte : row) byte = kReversedBits[byte];
        row.back() &= lastByteMask;
        for (uint8_t byte : row) solid += static_cast<unsigned>(std::popcount(byte));
        hash.update(row.data(), row.size());
    }
    out.hash = hash.finishHex();
    out.pixels = mask.pixels;
    out.width = mask.width;
    out.height = mask.height;
    out.stride = mask.stride;
    out.solidPixels = solid;
    return !out.hash.empty();
}

bool hashCollisionMask(const HostMemory& memory, HostAddr landscape, MaskHash& out) {
    const std::optional<uint32_t> object = memory.readU32(landscape, host_layout::landscape::kCollisionMask);
    if (!object) return false;
    const std::optional<HostBitmap> mask = readHostBitmap(memory, *object);
    return mask && hashMaskBitmap(memory, *mask, out);
}

TerrainHash hashTerrain(const HostMemory& memory, const HostBitmap& terrain, uint32_t width,
                        uint32_t height) {
    TerrainHash result;
    std::vector<uint8_t> row(width);
    Sha256 hash;
    hash.update(kTerrainDomain);
    updateLe32(hash, width);
    updateLe32(hash, height);
    for (uint32_t y = 0; y < height; ++y) {
        const uint64_t address = uint64_t{terrain.pixels} + uint64_t{y} * terrain.stride;
        if (address > UINT32_MAX || !memory.read(static_cast<HostAddr>(address), row.data(), width)) {
            result.unreadableRow = y;
            return result;
        }
        hash.update(row.data(), row.size());
    }
    result.hash = hash.finishHex();
    return result;
}

}  // namespace tarvek
