#pragma once
// What the module's drawing pass marked in one frame's render queue, counted the same way by
// every host before the queue runs, and written as one transcript text.
#include <cstdint>
#include <string>

#include "sim/address_space.h"

namespace tarvek::scenarios {

struct MarkedCommands {
    uint32_t goldSprites = 0;
    uint32_t blueSprites = 0;
    uint32_t goldLines = 0;
    uint32_t blueLines = 0;
    uint32_t goldFlags = 0;  // the module's flag bits of the ghost's sprites, together
    uint32_t blueFlags = 0;

    bool operator==(const MarkedCommands&) const = default;
};

MarkedCommands countMarkedCommands(const sim::AddressSpace& space, HostAddr renderQueue);
std::string markedText(const MarkedCommands& marked);

}  // namespace tarvek::scenarios
