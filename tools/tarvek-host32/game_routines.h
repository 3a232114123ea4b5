#pragma once
// The game's own routines, as this program provides them: C++ functions with the game's calling
// conventions, reached from the game's image through a jump at each routine's offset, so a
// module that chains to the game's code (or calls it) lands here. What they are called with is
// recorded for the transcript.
#include <cstdint>
#include <string>
#include <vector>

#include "sim/address_space.h"

namespace tarvek::host32 {

struct GameRecord {
    uint32_t wormMessages = 0;  // messages the game's own worm handler received
    uint32_t mapLoads = 0;
    uint32_t borderInits = 0;
    uint32_t wormDraws = 0;
    uint32_t ropeDraws = 0;
    uint32_t chatSends = 0;  // lines the game's own chat-send routine received
};

// What the routines recorded since the last layout.
GameRecord& gameRecord();

// The lines printed into the chat since the last take; the module may print from any thread.
std::vector<std::string> takeChatPrints();

// Writes a jump to each routine at its offset in the image at base and clears the record.
void layOutGameRoutines(sim::AddressSpace& space, HostAddr base);

}  // namespace tarvek::host32
