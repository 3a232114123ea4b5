#include "support/sim_map.h"

#include "ghostdata/sha256.h"
#include "host/host_layout.h"

namespace tarvek::testing {
namespace {

void appendLe32(Sha256& hash, uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    hash.update(bytes, 4);
}

// Domain text, both sides little-endian, then the rows exactly as given.
std::string referenceHash(std::string_view domain, const std::vector<uint8_t>& rows, uint32_t width,
                          uint32_t height) {
    Sha256 hash;
    hash.update(domain);
    appendLe32(hash, width);
    appendLe32(hash, height);
    hash.update(rows.data(), rows.size());
    return hash.finishHex();
}

uint32_t nextRandom(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

}  // namespace

std::vector<uint8_t> patternMaskRows(uint32_t width, uint32_t height, uint32_t seed) {
    const uint32_t rowBytes = (width + 7) / 8;
    std::vector<uint8_t> rows(size_t{rowBytes} * height);
    for (uint8_t& byte : rows) byte = static_cast<uint8_t>(nextRandom(seed));
    if (width % 8)
        for (uint32_t y = 0; y < height; ++y)
            rows[size_t{y} * rowBytes + rowBytes - 1] &= static_cast<uint8_t>(0xFF00u >> (width % 8));
    return rows;
}

std::vector<uint8_t> patternTerrain(uint32_t width, uint32_t height, uint32_t seed) {
    std::vector<uint8_t> rows(size_t{width} * height);
    for (uint8_t& byte : rows) byte = static_cast<uint8_t>(nextRandom(seed));
    return rows;
}

std::string referenceGeometryHash(const std::vector<uint8_t>& msbRows, uint32_t width, uint32_t height) {
    return referenceHash("TarvekMapGeometryV1", msbRows, width, height);
}

std::string referenceTerrainHash(const std::vector<uint8_t>& rows, uint32_t width, uint32_t height) {
    return referenceHash("TarvekMapTerrainV1", rows, width, height);
}

void giveWorldAMap(sim::AddressSpace& space, sim::SimWorld& world, uint32_t width, uint32_t height,
                   uint8_t noBordersByte) {
    world.setTerrain(sim::placeBitmap(space, 8, width, height, width, patternTerrain(width, height, 1)).object);
    const auto mask = sim::hostMaskRows(patternMaskRows(width, height, 2), width, height, (width + 7) / 8);
    world.setCollisionMask(sim::placeBitmap(space, 1, width, height, (width + 7) / 8, mask).object);
    world.setMapSize(width, height);
    world.setNoBordersByte(noBordersByte);
}

SimMap::SimMap(uint32_t width, uint32_t height, uint32_t seed) {
    terrainRows = patternTerrain(width, height, seed);
    terrain = sim::placeBitmap(space, 8, width, height, width + 3, sim::paddedRows(terrainRows, width, height, width + 3, 0xEE));
    world.setTerrain(terrain.object);
    world.setMapSize(width, height);
    world.setFrameCounter(1);
    world.setNoBordersByte(1);
    replaceMask(seed + 1, (width + 7) / 8 + 2);
}

void SimMap::replaceMask(uint32_t seed, uint32_t stride) {
    const uint32_t width = memory.peekU32(world.world() + host_layout::world::kMapWidth);
    const uint32_t height = memory.peekU32(world.world() + host_layout::world::kMapHeight);
    maskRows = patternMaskRows(width, height, seed);
    mask = sim::placeBitmap(space, 1, width, height, stride, sim::hostMaskRows(maskRows, width, height, stride));
    world.setCollisionMask(mask.object);
}

}  // namespace tarvek::testing
