#pragma once
// The turn timer in the race's colours: three hooked host calls. Colour A (the timer's update)
// asks for a redraw when the colour to show changes; colour B swaps the team's colour entry
// around the drawing of its timer box; the render hook draws the digits in the timer's
// highlight colour and, when ahead, remaps them to green.
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

// The colour state the timer shows: 1 ahead, 2 behind, else 0.
uint32_t turnTimerState();

// The work of the three hooks; their entries save the host's registers around it and call the
// host routine in between. A runs before the timer update; B before and after one team's timer
// box; the drawing hook before the timer bitmap is rendered (it may change the colour
// parameter) and after, with the bitmap the host returned.
void turnTimerColourA(HostAddr timer) noexcept;
void turnTimerColourBBefore(HostAddr timer, uint32_t team) noexcept;
void turnTimerColourBAfter() noexcept;
void turnTimerDrawing(HostAddr object, uint32_t& colour) noexcept;
void turnTimerDrawingDone(HostAddr bitmap) noexcept;

// Forgets the last timer, state and remap (a new module start in the same process).
void resetTurnTimerColours();

}  // namespace tarvek
