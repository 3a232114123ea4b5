#pragma once
// The turn timer in the race's colours: three hooked host calls. Colour A (the timer's update)
// asks for a redraw when the colour to show changes; colour B swaps the team's colour entry
// around the drawing of its timer box; the render hook draws the digits in the timer's
// highlight colour and, when ahead, remaps them to green.
#include <cstdint>

#include "host/host_calls.h"
#include "host/host_memory.h"

namespace tarvek {

// The call targets the hooks replaced, stored by the hook patch.
struct TurnTimerHookTargets {
    HostAddr update = 0;
    HostAddr team = 0;
    HostAddr render = 0;
};

TurnTimerHookTargets& turnTimerHookTargets();

// The colour state the timer shows: 1 ahead, 2 behind, else 0.
uint32_t turnTimerState();

// The work of the three hooks. A and B run inside register-saving entries that call the host
// routine afterwards; the render hook calls the host renderer itself and returns its bitmap.
void turnTimerColourA(HostAddr timer) noexcept;
void turnTimerColourBBefore(HostAddr timer, uint32_t team) noexcept;
void turnTimerColourBAfter() noexcept;
HostAddr onTurnTimerRender(const TimerRender& render) noexcept;

// Forgets the last timer, state and remap (a new module start in the same process).
void resetTurnTimerColours();

}  // namespace tarvek
