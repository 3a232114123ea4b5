#pragma once
// One scenario's game on the simulated host: the image as the scenario changes it, the game's
// own map-loader routines, the course, the worms, the chat, and the display with its render
// queue and the local team's turn timer. The module is loaded into it; every frame is drawn the
// way the game draws one.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "sim/sim_chat.h"
#include "sim/sim_display.h"
#include "sim/sim_host.h"
#include "sim/sim_timer.h"
#include "sim/sim_world.h"
#include "sim/sim_worm.h"
#include "tools/scenarios/marked_commands.h"
#include "tools/scenarios/scenarios.h"

namespace tarvek::simtool {

class RaceGame {
public:
    explicit RaceGame(const scenarios::Scenario& scenario);

    // The map loader's calls, through whatever the module patched: LoadLandDat at its call site,
    // then InitBorders through the landscape class table, without extra borders.
    void loadMap();
    // Every worm's per-frame message; then the picture: course, drawing messages, the render
    // queue through the display's class table, the turn timer and the frame end.
    void runFrame();
    uint32_t frame() const { return static_cast<uint32_t>(world.frameCounter()); }
    const scenarios::MarkedCommands& marked() const { return marked_; }
    bool drawsTimer() const { return drawsTimer_; }

    sim::SimHost host;
    sim::SimWorld world{host.space()};
    sim::SimDisplay display;
    sim::SimChat chat{host, world.world()};
    sim::SimTurnTimer timer;

private:
    void paintCourse();
    void drawChat();

    std::vector<sim::SimWorm> worms_;
    std::vector<uint8_t> course_;  // the picture of the course, palette indices
    scenarios::MarkedCommands marked_;
    bool drawsTimer_ = false;
    size_t chatSeen_ = 0;
    std::vector<std::pair<uint32_t, std::string>> chat_;  // frame printed, line
};

}  // namespace tarvek::simtool
