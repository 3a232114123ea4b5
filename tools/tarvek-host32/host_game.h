#pragma once
// One scenario's game inside this process: the game's image with its routines, a world with a
// rope-race map, and the live worm, all in real memory and laid out by the simulated host's own
// layout code. The game calls into whatever the module patched, the way the game does.
#include <string>

#include "sim/sim_world.h"
#include "sim/sim_worm.h"
#include "tools/tarvek-host32/game_calls.h"
#include "tools/tarvek-host32/real_address_space.h"
#include "tools/scenarios/scenarios.h"

namespace tarvek::host32 {

class HostGame {
public:
    // Lays out a fresh game: the previous module copy's patches go with the old image.
    HostGame(const GameImage& image, const scenarios::Scenario& scenario);

    HostAddr base() const { return base_; }
    // The map loader's calls: LoadLandDat, then InitBorders without extra borders.
    void loadMap();
    // One game frame: every worm's per-frame message, then its drawing message.
    void runFrame() { game_.runFrame(); }
    // The local player sends a chat line through the chat-send call site.
    void sendChat(const std::string& text);
    uint32_t frame() const { return static_cast<uint32_t>(world_.frameCounter()); }

private:
    RealAddressSpace space_;
    HostAddr base_;
    sim::SimWorld world_;
    GameCalls calls_;
    HostAddr chat_;
    sim::SimGame game_;
};

}  // namespace tarvek::host32
