#include "tools/scenarios/race_course.h"

#include <stdexcept>

#include "ghostdata/map_hash.h"
#include "sim/sim_address_space.h"
#include "sim/sim_bitmap.h"
#include "sim/sim_memory.h"

namespace tarvek::scenarios {
namespace {

constexpr uint32_t kWall = 16;

// 1 = solid: walls all round and a ceiling band of alternating blocks.
bool solid(uint32_t x, uint32_t y) {
    const bool wall = x < kWall || x >= kCourseWidth - kWall || y >= kCourseHeight - kWall;
    const bool ceiling = y < 2 * kWall && (x / 64) % 2 == 0;
    return wall || y < kWall || ceiling;
}

}  // namespace

std::vector<uint8_t> courseMaskRows() {
    const uint32_t rowBytes = (kCourseWidth + 7) / 8;
    std::vector<uint8_t> rows(size_t{rowBytes} * kCourseHeight);
    for (uint32_t y = 0; y < kCourseHeight; ++y)
        for (uint32_t x = 0; x < kCourseWidth; ++x)
            if (solid(x, y)) rows[size_t{y} * rowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    return rows;
}

std::vector<uint8_t> courseTerrainRows() {
    std::vector<uint8_t> rows(size_t{kCourseWidth} * kCourseHeight);
    for (uint32_t y = 0; y < kCourseHeight; ++y)
        for (uint32_t x = 0; x < kCourseWidth; ++x)
            rows[size_t{y} * kCourseWidth + x] = solid(x, y) ? static_cast<uint8_t>(0x60 + y % 16) : 0;
    return rows;
}

void placeCourse(sim::AddressSpace& space, sim::SimWorld& world) {
    const uint32_t maskStride = (kCourseWidth + 7) / 8;
    const auto mask = sim::placeBitmap(space, 1, kCourseWidth, kCourseHeight, maskStride,
                                       sim::hostMaskRows(courseMaskRows(), kCourseWidth, kCourseHeight, maskStride));
    const auto terrain = sim::placeBitmap(space, 8, kCourseWidth, kCourseHeight, kCourseWidth, courseTerrainRows());
    world.setCollisionMask(mask.object);
    world.setTerrain(terrain.object);
    world.setMapSize(kCourseWidth, kCourseHeight);
}

int32_t courseY(int32_t x) {
    const int32_t phase = (x / 2) % 80;  // a triangle wave: integer, so every build agrees
    return 140 + (phase < 40 ? phase : 80 - phase);
}

const std::string& courseMapHash() {
    static const std::string hash = [] {
        sim::SimMemory memory;
        sim::SimAddressSpace space(memory);
        sim::SimWorld world(space);
        placeCourse(space, world);
        MaskHash mask;
        if (!hashCollisionMask(memory, world.landscape(), mask)) throw std::logic_error("the course has no mask");
        return mask.hash;
    }();
    return hash;
}

}  // namespace tarvek::scenarios
