#pragma once
// Simulated worms, whose per-frame position, active word and state word can be scripted, and a
// running match that sends them the game's per-frame and drawing messages.
#include <cstdint>
#include <deque>
#include <functional>
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

    SimWorm(AddressSpace& space, const SimWorld& world, uint32_t identityA, uint32_t identityB);
    SimWorm(SimHost& host, const SimWorld& world, uint32_t identityA, uint32_t identityB)
        : SimWorm(host.space(), world, identityA, identityB) {}

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
    AddressSpace& space_;
    HostAddr address_;
    std::vector<WormFrame> script_;
    size_t scriptCursor_ = 0;
};

// A running match: each game frame advances the world's frame counter, applies every worm's
// scripted frame, sends every worm its per-frame message and then its drawing message.
class SimGame {
public:
    // Delivers a message to a worm the way the game does, through its class table.
    using MessageSender = std::function<void(HostAddr worm, uint32_t type)>;

    SimGame(AddressSpace& space, SimWorld& world, MessageSender send)
        : space_(space), world_(world), send_(std::move(send)) {}
    SimGame(SimHost& host, SimWorld& world)
        : SimGame(host.space(), world, [&host](HostAddr worm, uint32_t type) { host.sendWormMessage(worm, type); }) {}

    SimWorm& addWorm(uint32_t identityA, uint32_t identityB);
    void runFrame();
    void runFrames(uint32_t count);

private:
    AddressSpace& space_;
    SimWorld& world_;
    MessageSender send_;
    std::deque<SimWorm> worms_;
};

}  // namespace tarvek::sim
