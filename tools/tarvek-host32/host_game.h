#pragma once
// One scenario's game inside this process: the game's image with its routines, a world with a
// rope-race map, the live worm, the display with its render queue and the local team's turn
// timer, all in real memory and laid out by the simulated host's own layout code. The game calls
// into whatever the module patched, the way the game does.
#include <string>
#include <vector>

#include "sim/sim_display.h"
#include "sim/sim_timer.h"
#include "sim/sim_world.h"
#include "sim/sim_worm.h"
#include "tools/scenarios/marked_commands.h"
#include "tools/scenarios/scenarios.h"
#include "tools/tarvek-host32/game_calls.h"
#include "tools/tarvek-host32/real_address_space.h"

namespace tarvek::host32 {

// One pass of the game's turn-timer code: each site's call, in the order the game makes them.
struct TimerPass {
    SiteCall update;
    SiteCall team;
    SiteCall render;
};

class HostGame {
public:
    // Lays out a fresh game: the previous module copy's patches go with the old image.
    HostGame(const GameImage& image, const scenarios::Scenario& scenario);

    HostAddr base() const { return base_; }
    // The map loader's calls: LoadLandDat, then InitBorders without extra borders.
    void loadMap();
    // One game frame: every worm's per-frame message, then its drawing message; the render queue
    // through the display's class table, the turn timer through its call sites (when the game's
    // timer code is the known one) and the display's frame end.
    void runFrame();
    // The local player sends a chat line through the chat-send call site.
    void sendChat(const std::string& text);
    uint32_t frame() const { return static_cast<uint32_t>(world_.frameCounter()); }

    // What this frame's drawing messages left marked in the render queue before it ran.
    const scenarios::MarkedCommands& marked() const { return marked_; }
    bool drawsTimer() const { return drawsTimer_; }
    const TimerPass& timerPass() const { return timerPass_; }
    // The timer as the game last drew it.
    std::string timerText() const;

private:
    RealAddressSpace space_;
    HostAddr base_;
    sim::SimWorld world_;
    GameCalls calls_;
    HostAddr chat_;
    sim::SimGame game_;
    sim::DisplayObjects display_;
    sim::TurnTimerObjects timer_;
    HostAddr timerOut_;
    bool drawsTimer_;
    scenarios::MarkedCommands marked_;
    TimerPass timerPass_;
};

}  // namespace tarvek::host32
