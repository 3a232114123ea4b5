#pragma once
// What a race scenario's world shows on: the display the world watches, its render queue and the
// colour table worked out from the display's palette, and whether the game's turn-timer code is
// the code these hosts know (a changed call site stands for another build, which they cannot run).
#include "sim/address_space.h"
#include <string>

#include "sim/sim_timer.h"
#include "sim/sim_world.h"

namespace tarvek::scenarios {

// Links the world to the display at display (feedback gates open) and gives it a render queue.
void attachRaceScreen(sim::AddressSpace& space, sim::SimWorld& world, HostAddr display);

// True when each turn-timer call site still holds its call.
bool turnTimerCodeKnown(const sim::AddressSpace& space, HostAddr base);

// The timer as the player sees it, from what the game's own timer routines were last given: the
// colour the team's box was drawn in and the colour selector the digits were rendered with.
std::string turnTimerText(const sim::AddressSpace& space, const sim::TurnTimerObjects& timer);

}  // namespace tarvek::scenarios
