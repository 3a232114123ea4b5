#pragma once
// A team's turn timer on screen: the timer object, the renderer object its digits are drawn
// with, and one frame of the game's timer code run through the three call sites.
#include <cstdint>

#include "sim/sim_host.h"
#include "sim/sim_world.h"

namespace tarvek::sim {

struct TurnTimerObjects {
    HostAddr timer = 0;
    HostAddr renderer = 0;  // the object the digits are rendered with, on the display
    HostAddr text = 0;      // the digits
};

// A team's timer object (team 1..8, its colour index written into the game setup data), its
// renderer on the display and its digits, as the game lays them out.
TurnTimerObjects layOutTurnTimer(AddressSpace& space, HostAddr base, SimWorld& world, HostAddr display, uint32_t team,
                                 uint8_t colourIndex);
void writeTimerSeconds(AddressSpace& space, HostAddr text, uint32_t seconds);

class SimTurnTimer {
public:
    static constexpr int32_t kBoxWidth = 72;
    static constexpr int32_t kBoxHeight = 26;

    // team is 1..8; its colour index goes into the game setup data.
    SimTurnTimer(SimHost& host, SimWorld& world, HostAddr display, uint32_t team, uint8_t colourIndex);

    HostAddr timer() const { return timer_; }
    TurnTimerObjects objects() const { return {timer_, renderer_, text_}; }
    HostAddr renderer() const { return renderer_; }
    void setSeconds(uint32_t seconds);
    uint32_t redraws() const;
    uint32_t lastBoxColour() const;
    // The colour selector the game's renderer was last called with.
    uint32_t renderedColourSelector() const;

    // Update, the team's box, the digits: each through the E8 target of its call site. The box
    // and the digits land in the bottom-left corner of the display's surface.
    void runFrame();

private:
    SimHost& host_;
    HostAddr display_;
    uint32_t team_;
    HostAddr timer_ = 0;
    HostAddr renderer_ = 0;
    HostAddr text_ = 0;
};

}  // namespace tarvek::sim
