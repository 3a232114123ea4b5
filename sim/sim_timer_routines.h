#pragma once
// The game's turn-timer code: its three call sites in the image and the routines they call.
#include <cstdint>

#include "sim/address_space.h"

namespace tarvek::sim {

class SimHost;

// Fields of the simulated timer and renderer objects beyond those the module reads.
namespace sim_timer {
constexpr uint32_t kSeconds = 0x2D4;
constexpr uint32_t kRenderer = 0x2D8;
constexpr uint32_t kBoxColour = 0x2DC;  // team colour the last box was drawn in
constexpr uint32_t kRedraws = 0x2E0;    // times the update saw a redraw request
constexpr uint32_t kObjectSize = 0x300;
constexpr uint32_t kRendererSelector = 0x100;  // the colour selector of the last call
constexpr uint32_t kRendererBitmap = 0x120;
constexpr uint32_t kRendererSize = 0x124;
constexpr uint32_t kBitmapWidth = 64;
constexpr uint32_t kBitmapHeight = 20;
}  // namespace sim_timer

// The game's turn-timer routines:
// - update (timer): a pending redraw request is taken and counted;
void hostTimerUpdate(AddressSpace& memory, HostAddr timer);
// - one team's box (timer, team): picks up the team's colour-table entry;
void hostTimerTeam(AddressSpace& memory, HostAddr timer, uint32_t team);
// - the bitmap renderer (object, text, colour selector, out): draws the text in the colour the
//   selector names into the object's bitmap (made at the first call) and returns that bitmap.
HostAddr hostTimerRender(AddressSpace& memory, HostAddr base, HostAddr object, HostAddr text, uint32_t selector,
                         HostAddr out);

// Defines those routines where the turn-timer call sites reach them, in the game's registers:
// update with the timer in ECX, the team's box with the timer in EAX and the team in EDX, the
// renderer with (object, text, colour selector, 0, 0, out) on the stack.
void defineTimerRoutines(SimHost& host);

}  // namespace tarvek::sim
