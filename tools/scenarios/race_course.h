#pragma once
// The rope-race course every scenario races on: a walled map with a ceiling to swing from, the
// line the worms and ghosts follow across it, and the map hash the module gives it.
#include <cstdint>
#include <string>
#include <vector>

#include "sim/address_space.h"
#include "sim/sim_world.h"

namespace tarvek::scenarios {

inline constexpr uint32_t kCourseWidth = 640;
inline constexpr uint32_t kCourseHeight = 320;
inline constexpr int32_t kCourseStartX = 40;
inline constexpr int32_t kCourseFinishX = 580;

// Collision mask rows, MSB first, and the 8-bit terrain rows.
std::vector<uint8_t> courseMaskRows();
std::vector<uint8_t> courseTerrainRows();

// Gives the world the course as the map loader leaves it: mask, terrain and map size.
void placeCourse(sim::AddressSpace& space, sim::SimWorld& world);

// The height of the racing line at x, in pixels: a swing between 140 and 180.
int32_t courseY(int32_t x);

// The course's geometry hash, as the module works it out from the collision mask.
const std::string& courseMapHash();

}  // namespace tarvek::scenarios
