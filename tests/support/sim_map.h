#pragma once
// A simulated world with a landscape, a terrain image and a collision mask, for the map hash
// tests and tools.
#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_address_space.h"
#include "sim/sim_bitmap.h"
#include "sim/sim_world.h"

namespace tarvek::testing {

// Deterministic pixels: MSB-first mask rows (padding bits clear) and 8-bit terrain rows.
std::vector<uint8_t> patternMaskRows(uint32_t width, uint32_t height, uint32_t seed);
std::vector<uint8_t> patternTerrain(uint32_t width, uint32_t height, uint32_t seed);

// The hashes computed straight from packed rows, as the definitions state them.
std::string referenceGeometryHash(const std::vector<uint8_t>& msbRows, uint32_t width, uint32_t height);
std::string referenceTerrainHash(const std::vector<uint8_t>& rows, uint32_t width, uint32_t height);

// Gives a world of the module's host a width x height map: pattern terrain (seed 1), collision
// mask (seed 2) and the scheme's no-borders byte as given.
void giveWorldAMap(sim::AddressSpace& space, sim::SimWorld& world, uint32_t width, uint32_t height,
                   uint8_t noBordersByte);

struct SimMap {
    sim::SimMemory memory;
    sim::SimAddressSpace space{memory};
    sim::SimWorld world{space};
    sim::SimBitmap terrain;
    sim::SimBitmap mask;
    std::vector<uint8_t> maskRows;  // MSB-first, as referenceGeometryHash takes them
    std::vector<uint8_t> terrainRows;

    // A running world (frame counter 1) of width x height with both bitmaps in place.
    SimMap(uint32_t width, uint32_t height, uint32_t seed = 1);
    void replaceMask(uint32_t seed, uint32_t stride);
};

}  // namespace tarvek::testing
