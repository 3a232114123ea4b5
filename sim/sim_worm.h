#pragma once
// Simulated worms, whose per-frame position, active word and state word can be scripted, and a
// running match that sends them the game's per-frame and drawing messages.
#include <cstdint>
#include <deque>
#include <vector>

#include "sim/sim_host.h"
#include "sim/sim_world.h"

namespace tarvek::sim {

// 16.16 fixed point, as the host stores positions.
constexpr int32_t fixedPixels(int32_t pixels) { return static_cast<int32_t>(static_cast<uint32_t>(pixels) << 16); }

// One frame of a worm's script: raw 16.16 position words, active flag and state word.
struct WormFrame {
    int32_t x = 0;
    int32_t y = 0;
    bool active = false;
    uint32_t state = 0;
};

class SimWorm {
public:
    static constexpr uint32_t kObjectSize = 0x1000;

    SimWorm(SimHost& host, const SimWorld& world, uint32_t identityA, uint32_t identityB);

    HostAddr address() const { return address_; }
    void setWorld(HostAddr world);
    void setPosition(int32_t x, int32_t y);
    void setActive(bool active);
    void setState(uint32_t state);
    void apply(const WormFrame& frame);

    // Frames applied one per game frame by SimGame; the last one stays once the script ends.
    void script(std::vector<WormFrame> frames);
    void applyNextScriptedFrame();

private:
    SimHost& host_;
    HostAddr address_;
    std::vector<WormFrame> script_;
    size_t scriptCursor_ = 0;
};

// A running match: each game frame advances the world's frame counter, applies every worm's
// scripted frame, sends every worm its per-frame message and then its drawing message.
class SimGame {
public:
    SimGame(SimHost& host, SimWorld& world) : host_(host), world_(world) {}

    SimWorm& addWorm(uint32_t identityA, uint32_t identityB);
    void runFrame();
    void runFrames(uint32_t count);

private:
    SimHost& host_;
    SimWorld& world_;
    std::deque<SimWorm> worms_;
};

}  // namespace tarvek::sim
