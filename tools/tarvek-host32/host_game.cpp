#include "tools/tarvek-host32/host_game.h"

#include "host/host_layout.h"
#include "sim/host_image_layout.h"
#include "sim/sim_bitmap.h"
#include "tools/tarvek-host32/game_routines.h"

namespace tarvek::host32 {
namespace {

constexpr uint32_t kMapWidth = 640;
constexpr uint32_t kMapHeight = 320;
constexpr uint32_t kWall = 16;

// A closed course: walls all round and a ceiling band to swing from, 1 = solid.
bool solid(uint32_t x, uint32_t y) {
    const bool wall = x < kWall || x >= kMapWidth - kWall || y >= kMapHeight - kWall;
    const bool ceiling = y < 2 * kWall && (x / 64) % 2 == 0;
    return wall || y < kWall || ceiling;
}

// Collision mask rows, MSB first as sim::hostMaskRows takes them, and the 8-bit terrain.
std::vector<uint8_t> maskRows() {
    const uint32_t rowBytes = (kMapWidth + 7) / 8;
    std::vector<uint8_t> rows(size_t{rowBytes} * kMapHeight);
    for (uint32_t y = 0; y < kMapHeight; ++y)
        for (uint32_t x = 0; x < kMapWidth; ++x)
            if (solid(x, y)) rows[size_t{y} * rowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    return rows;
}

std::vector<uint8_t> terrainRows() {
    std::vector<uint8_t> rows(size_t{kMapWidth} * kMapHeight);
    for (uint32_t y = 0; y < kMapHeight; ++y)
        for (uint32_t x = 0; x < kMapWidth; ++x) rows[size_t{y} * kMapWidth + x] = solid(x, y) ? 0x60 + y % 16 : 0;
    return rows;
}

HostAddr layOutGame(RealAddressSpace& space, const Scenario& scenario) {
    const HostAddr base = sim::layOutHostImage(space);
    layOutGameRoutines(space, base);
    for (const auto& change : scenario.imageChanges)
        space.write(base + change.offset, change.bytes.data(), change.bytes.size());
    space.writeU8(base + host_layout::image::kSchemeTurnTime, static_cast<uint8_t>(scenario.schemeTurnTime));
    return base;
}

}  // namespace

HostGame::HostGame(const GameImage& image, const Scenario& scenario)
    : space_(image),
      base_(layOutGame(space_, scenario)),
      world_(space_),
      calls_(space_, base_),
      game_(space_, world_, [this](HostAddr worm, uint32_t type) { calls_.wormMessage(worm, type); }) {
    const uint32_t maskStride = (kMapWidth + 7) / 8;
    const auto mask = sim::placeBitmap(space_, 1, kMapWidth, kMapHeight, maskStride,
                                       sim::hostMaskRows(maskRows(), kMapWidth, kMapHeight, maskStride));
    const auto terrain = sim::placeBitmap(space_, 8, kMapWidth, kMapHeight, kMapWidth, terrainRows());
    world_.setCollisionMask(mask.object);
    world_.setTerrain(terrain.object);
    world_.setMapSize(kMapWidth, kMapHeight);
    game_.addWorm(1, 1).script(scenario.liveWorm);
}

void HostGame::loadMap() {
    calls_.loadLandDat(world_.landscape());
    calls_.initBorders(world_.landscape(), 0, 0, 0, 0);
}

}  // namespace tarvek::host32
