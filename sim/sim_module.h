#pragma once
// Puts the module's routines into the simulated host the way the hook patch does: a class-table
// entry or a call site points at the routine, which chains to what it replaced. Where the DLL
// enters a routine through a register-saving thunk, a stand-in here calls the routine and the
// replaced target the same way.
#include "sim/sim_host.h"

namespace tarvek::sim {

void installFrameDriver(SimHost& host);
// Display class-table slots 13, 14, 19 and the overlay before slot 26.
void installDisplayHooks(SimHost& host);
// Turn-timer colour A and B and the timer drawing, at their call sites.
void installTurnTimerHooks(SimHost& host);

// Puts the chat command handler at the chat-send call site, entered as the game's chat hook
// enters it: a consumed line returns 1 to the game, any other goes on to the routine the call
// reached before. Makes the host's chat print routine known to the module.
void installChatHook(SimHost& host);

// Returns the module's settings, ghost slots, race type, driver, race state and presentation
// state to start-up.
void resetModuleRaceState();

}  // namespace tarvek::sim
