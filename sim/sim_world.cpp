#include "sim/sim_world.h"

namespace tarvek::sim {

SimWorld::SimWorld(SimHeap& heap)
    : memory_(heap.memory()),
      world_(heap.allocate(kWorldSize)),
      landscape_(heap.allocate(kLandscapeSize)),
      gameState_(heap.allocate(kGameStateSize)) {
    memory_.pokeU32(world_ + kLandscape, landscape_);
    memory_.pokeU32(world_ + kGameState, gameState_);
    memory_.pokeU32(landscape_ + kLandscapeWorld, world_);
}

int32_t SimWorld::frameCounter() const {
    return static_cast<int32_t>(memory_.peekU32(world_ + kFrameCounter));
}

void SimWorld::setFrameCounter(int32_t frame) { memory_.pokeI32(world_ + kFrameCounter, frame); }

void SimWorld::setMapSize(uint32_t width, uint32_t height) {
    memory_.pokeU32(world_ + kMapWidth, width);
    memory_.pokeU32(world_ + kMapHeight, height);
}

void SimWorld::setWatchedPointer(HostAddr pointer) { memory_.pokeU32(world_ + kWatchedPointer, pointer); }

void SimWorld::setLandscape(HostAddr landscape) { memory_.pokeU32(world_ + kLandscape, landscape); }

void SimWorld::setNoBordersByte(uint8_t value) { memory_.pokeU8(gameState_ + kNoBordersByte, value); }

void SimWorld::setFeedbackGates(uint8_t byte, uint32_t word) {
    memory_.pokeU8(gameState_ + kFeedbackGateByte, byte);
    memory_.pokeU32(gameState_ + kFeedbackGateWord, word);
}

void SimWorld::setGameState(HostAddr gameState) { memory_.pokeU32(world_ + kGameState, gameState); }

void SimWorld::setTerrain(HostAddr bitmapObject) {
    memory_.pokeU32(landscape_ + kLandscapeTerrain, bitmapObject);
}

void SimWorld::setCollisionMask(HostAddr bitmapObject) {
    memory_.pokeU32(landscape_ + kLandscapeCollisionMask, bitmapObject);
}

}  // namespace tarvek::sim
