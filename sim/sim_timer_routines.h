#pragma once
// The game's turn-timer code: its three call sites in the image and the routines they call.
#include <cstdint>

#include "sim/sim_memory.h"

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

// Defines the game's routines the turn-timer call sites reach:
// - update (timer in ECX): a pending redraw request is taken and counted;
// - one team's box (timer in EAX, team in EDX): picks up the team's colour-table entry;
// - the bitmap renderer (object, text, colour selector, 0, 0, out on the stack): draws the text
//   in the colour the selector names into the object's bitmap and returns that bitmap.
void defineTimerRoutines(SimHost& host);

}  // namespace tarvek::sim
