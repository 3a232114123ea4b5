#pragma once
// Puts the module's frame driver into the simulated host through the hook patch: the worm class
// table entry points at the driver, which chains to the entry it replaced.
#include "sim/sim_host.h"

namespace tarvek::sim {

void installFrameDriver(SimHost& host);

// Returns the module's settings, ghost slots, race type, driver and race state to start-up.
void resetModuleRaceState();

}  // namespace tarvek::sim
