#pragma once
// The simulated game's entries to the module's hook routines: what the x86 thunks are in the DLL.
// Each entry is registered with the host under a synthetic address, receives the call as the
// game makes it at that hook, calls the module's routine and chains to the target the patch
// replaced, so the start-up's patch engine installs them exactly as it installs the thunks.
#include "module/hook_installer.h"
#include "module/hook_routines.h"
#include "sim/sim_host.h"

namespace tarvek::sim {

// Addresses for every hook whose routine this build has (0 for the others), with the module's
// previous-target slots.
HookAddresses simHookAddresses(SimHost& host, const HookRoutines& routines);

}  // namespace tarvek::sim
