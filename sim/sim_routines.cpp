#include "sim/sim_routines.h"

#include <cstring>

namespace tarvek::sim {

HostAddr callSiteTarget(const HostMemory& memory, HostAddr site) {
    uint8_t bytes[5];
    if (!memory.read(site, bytes, sizeof bytes) || bytes[0] != 0xE8) return 0;
    int32_t displacement;
    std::memcpy(&displacement, bytes + 1, 4);
    return site + 5 + static_cast<uint32_t>(displacement);
}

}  // namespace tarvek::sim
