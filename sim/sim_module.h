#pragma once
// Puts the module's frame driver into the simulated host through the hook patch: the worm class
// table entry points at the driver, which chains to the entry it replaced.
#include "sim/sim_host.h"

namespace tarvek::sim {

void installFrameDriver(SimHost& host);

// Puts the chat command handler at the chat-send call site, entered as the game's chat hook
// enters it: a consumed line returns 1 to the game, any other goes on to the routine the call
// reached before. Makes the host's chat print routine known to the module.
void installChatHook(SimHost& host);

// Returns the module's settings, ghost slots, race type, driver and race state to start-up.
void resetModuleRaceState();

}  // namespace tarvek::sim
