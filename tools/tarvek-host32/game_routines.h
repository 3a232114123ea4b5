#pragma once
// The game's own routines, as this program provides them: C++ functions with the game's calling
// conventions, reached from the game's image through a jump at each routine's offset, so a
// module that chains to the game's code (or calls it) lands here. They do the game's work with
// the simulated game's code, in this process's memory, and what they are called with is recorded
// for the transcript.
#include <cstdint>
#include <string>
#include <vector>

#include "sim/address_space.h"
#include "tools/tarvek-host32/game_registers.h"

namespace tarvek::host32 {

struct GameRecord {
    uint32_t wormMessages = 0;  // messages the game's own worm handler received
    uint32_t mapLoads = 0;
    uint32_t borderInits = 0;
    uint32_t wormDraws = 0;
    uint32_t ropeDraws = 0;
    uint32_t chatSends = 0;  // lines the game's own chat-send routine received
    uint32_t displayCalls = 0;  // lines, sprites and bitmaps drawn through the display's routines
    uint32_t framesEnded = 0;
    uint32_t failures = 0;   // routine bodies that threw (the game would have crashed)
};

// A text the display's text routine was asked to draw.
struct TextDrawn {
    uint32_t style = 0;
    std::string text;
};

// The turn-timer routines, in the order of their call sites: update, the team's box, the digits.
enum class TimerRoutine { Update = 0, Team = 1, Render = 2 };

// What the routines recorded since the last layout.
GameRecord& gameRecord();

// The lines printed into the chat since the last take; the module may print from any thread.
std::vector<std::string> takeChatPrints();
// The texts drawn since the last take.
std::vector<TextDrawn> takeTextsDrawn();

// The registers and flags a turn-timer routine was last entered with and last left.
const GameRegisters& timerRoutineEntry(TimerRoutine routine);
const GameRegisters& timerRoutineExit(TimerRoutine routine);

// Writes a jump to each routine at its offset in the image at base, clears the records, and
// points the routines at space, where they find the game's objects.
void layOutGameRoutines(sim::AddressSpace& space, HostAddr base);

}  // namespace tarvek::host32
