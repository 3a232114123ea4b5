#include "sim/sim_world.h"

#include "host/host_layout.h"

namespace tarvek::sim {
namespace {

namespace layout = host_layout;

// Each object reaches just past the last field the module reads.
constexpr uint32_t kWorldSize = layout::world::kMapHeight + 4;
constexpr uint32_t kLandscapeSize = layout::landscape::kCollisionMask + 4;
constexpr uint32_t kGameStateSize = layout::game_state::kFeedbackGateWord + 4;

}  // namespace

SimWorld::SimWorld(AddressSpace& space)
    : space_(space),
      world_(space.allocate(kWorldSize)),
      landscape_(space.allocate(kLandscapeSize)),
      gameState_(space.allocate(kGameStateSize)) {
    space_.writeU32(world_ + layout::world::kLandscape, landscape_);
    space_.writeU32(world_ + layout::world::kGameState, gameState_);
    space_.writeU32(landscape_ + layout::landscape::kWorld, world_);
}

int32_t SimWorld::frameCounter() const {
    return static_cast<int32_t>(space_.readU32(world_ + layout::world::kFrameCounter));
}

void SimWorld::setFrameCounter(int32_t frame) { space_.writeI32(world_ + layout::world::kFrameCounter, frame); }

void SimWorld::setMapSize(uint32_t width, uint32_t height) {
    space_.writeU32(world_ + layout::world::kMapWidth, width);
    space_.writeU32(world_ + layout::world::kMapHeight, height);
}

void SimWorld::setWatchedPointer(HostAddr pointer) { space_.writeU32(world_ + layout::world::kWatched, pointer); }

void SimWorld::setLandscape(HostAddr landscape) { space_.writeU32(world_ + layout::world::kLandscape, landscape); }

void SimWorld::setNoBordersByte(uint8_t value) { space_.writeU8(gameState_ + layout::game_state::kNoBorders, value); }

void SimWorld::setFeedbackGates(uint8_t byte, uint32_t word) {
    space_.writeU8(gameState_ + layout::game_state::kFeedbackGateByte, byte);
    space_.writeU32(gameState_ + layout::game_state::kFeedbackGateWord, word);
}

void SimWorld::setGameState(HostAddr gameState) { space_.writeU32(world_ + layout::world::kGameState, gameState); }

void SimWorld::setTerrain(HostAddr bitmapObject) {
    space_.writeU32(landscape_ + layout::landscape::kTerrain, bitmapObject);
}

void SimWorld::setCollisionMask(HostAddr bitmapObject) {
    space_.writeU32(landscape_ + layout::landscape::kCollisionMask, bitmapObject);
}

}  // namespace tarvek::sim
