#pragma once
// One scenario's game on the simulated host: the image as the scenario changes it, the game's
// own map-loader routines, the course, the worms and the chat. The module is loaded into it.
#include <deque>

#include "sim/sim_chat.h"
#include "sim/sim_host.h"
#include "sim/sim_world.h"
#include "sim/sim_worm.h"
#include "tools/scenarios/scenarios.h"

namespace tarvek::simtool {

class RaceGame {
public:
    explicit RaceGame(const scenarios::Scenario& scenario);

    // The map loader's calls, through whatever the module patched: LoadLandDat at its call site,
    // then InitBorders through the landscape class table, without extra borders.
    void loadMap();
    void runFrame() { game.runFrame(); }
    uint32_t frame() const { return static_cast<uint32_t>(world.frameCounter()); }

    sim::SimHost host;
    sim::SimWorld world{host.space()};
    sim::SimChat chat{host, world.world()};
    sim::SimGame game{host, world};
};

}  // namespace tarvek::simtool
