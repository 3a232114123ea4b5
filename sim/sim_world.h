#pragma once
// The host's world object with its landscape and game setup/state object, laid out with the
// fields the module reads.
#include <cstdint>

#include "sim/address_space.h"

namespace tarvek::sim {

class SimWorld {
public:
    // A world linked to a fresh landscape and game setup object; frame counter 0, no map yet.
    explicit SimWorld(AddressSpace& space);

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
    AddressSpace& space_;
    HostAddr world_;
    HostAddr landscape_;
    HostAddr gameState_;
};

}  // namespace tarvek::sim
