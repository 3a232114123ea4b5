#pragma once
// The host the module runs in: its memory, its callable routines and its image base. Bound once
// by the start-up code (or by the simulated host) before any hook can run.
#include "host/host_calls.h"
#include "host/host_memory.h"

namespace tarvek {

void bindHost(HostMemory& memory, HostCalls& calls, HostAddr base);

HostMemory& hostMemory();
HostCalls& hostCalls();
HostAddr hostBase();

}  // namespace tarvek
