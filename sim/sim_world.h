#pragma once
// The host's world object with its landscape and game setup/state object, laid out with the
// fields the module reads.
#include <cstdint>

#include "host/host_layout.h"
#include "sim/sim_heap.h"

namespace tarvek::sim {

class SimWorld {
public:
    // World fields
    static constexpr uint32_t kWatchedPointer = host_layout::world::kWatched;
    static constexpr uint32_t kLandscape = host_layout::world::kLandscape;
    static constexpr uint32_t kGameState = host_layout::world::kGameState;
    static constexpr uint32_t kFrameCounter = host_layout::world::kFrameCounter;
    static constexpr uint32_t kMapWidth = host_layout::world::kMapWidth;
    static constexpr uint32_t kMapHeight = host_layout::world::kMapHeight;
    static constexpr uint32_t kWorldSize = 0x7800;
    // Landscape fields
    static constexpr uint32_t kLandscapeWorld = 0x4;
    static constexpr uint32_t kLandscapeTerrain = 0x910;
    static constexpr uint32_t kLandscapeCollisionMask = 0x914;
    static constexpr uint32_t kLandscapeSize = 0x918;
    // Game setup/state fields
    static constexpr uint32_t kNoBordersByte = 0xD94B;
    static constexpr uint32_t kFeedbackGateByte = host_layout::game_state::kFeedbackGateByte;
    static constexpr uint32_t kFeedbackGateWord = host_layout::game_state::kFeedbackGateWord;
    static constexpr uint32_t kGameStateSize = 0xEF40;

    // A world linked to a fresh landscape and game setup object; frame counter 0, no map yet.
    explicit SimWorld(SimHeap& heap);

    HostAddr world() const { return world_; }
    HostAddr landscape() const { return landscape_; }
    HostAddr gameState() const { return gameState_; }

    int32_t frameCounter() const;
    void setFrameCounter(int32_t frame);
    void setMapSize(uint32_t width, uint32_t height);
    void setWatchedPointer(HostAddr pointer);
    void setLandscape(HostAddr landscape);
    void setNoBordersByte(uint8_t value);
    void setFeedbackGates(uint8_t byte, uint32_t word);
    // Points the world at another game setup/state object (or at unmapped memory).
    void setGameState(HostAddr gameState);
    void setTerrain(HostAddr bitmapObject);
    void setCollisionMask(HostAddr bitmapObject);

private:
    SimMemory& memory_;
    HostAddr world_;
    HostAddr landscape_;
    HostAddr gameState_;
};

}  // namespace tarvek::sim
