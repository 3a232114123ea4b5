#pragma once
// Host routines the module calls, remembered by the start-up once the hooks that use them are in
// place; 0 while unknown. Written on the init thread, read on the game thread.
#include <atomic>

#include "host/host_memory.h"

namespace tarvek {

struct HostRoutines {
    std::atomic<HostAddr> chatPrint{0};
    std::atomic<HostAddr> drawWorm{0};
    std::atomic<HostAddr> drawRope{0};
};

HostRoutines& hostRoutines();

}  // namespace tarvek
