#pragma once
// The live race: arming on the active worm, start at its first movement, turn segments by the
// round roster, one ghost frame per game frame for each slot, and the live race clock.
#include <array>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "ghostdata/ghost_recording.h"
#include "host/host_memory.h"
#include "race/worm_view.h"

namespace tarvek {

enum GhostSlot : size_t { kGoldSlot = 0, kBlueSlot = 1 };
inline constexpr size_t kGhostSlotCount = 2;

struct SlotPlayback {
    uint32_t segmentIndex = 0;  // saturating
    uint32_t frameCursor = 0;
    uint32_t tailCursor = 0;
    const GhostFrame* currentFrame = nullptr;
};

struct LiveSample {
    int32_t x = 0;
    int32_t y = 0;
    uint64_t clock = 0;
};

struct RaceState {
    HostAddr raceWorm = 0;
    bool raceArmed = false;
    bool raceStarted = false;
    bool startCaptured = false;
    int32_t startX = 0;
    int32_t startY = 0;
    bool startBlocked = false;
    bool turnEntered = false;
    bool turnMovementSeen = false;
    uint32_t raceFrames = 0;  // saturating
    uint32_t windowCapacity = 0;
    std::deque<LiveSample> window;
    std::vector<std::pair<uint32_t, uint32_t>> roster;  // (identity +0x100, identity +0xFC)
    std::array<SlotPlayback, kGhostSlotCount> slots;
    // 0 none, 1 ahead, 2 behind: read by the turn-timer hooks.
    uint32_t turnTimerColour = 0;
};

RaceState& raceState();
GhostRecording& slotRecording(size_t slot);

// Clears every piece of race tracking state; the race returns to idle with segment indices 0.
void resetRaceState();

// The ghost-side end of resetRaceState: both slots' cursors and current frames, the live
// comparison states, and both ghost paths with their cache keys. With joinRunningRace a BigRR
// race that is already under way keeps its segments and the new ghosts join it in the current turn.
void resetGhostCursorsAndComparisons(bool joinRunningRace);

// A ghost that arrives while the race runs: the slot's cursor moves to the frame of its current
// segment that the live worm has reached (the segment's movement start, the first movement in
// TTRR, plus raceFrames).
void alignGhostToRace(size_t slot);

// Ghosts that arrive during a started race: both slots aligned, and the comparisons restart at
// the live race clock.
void alignGhostsToRunningRace();

// Live path window capacity for the current race type (0 when no window is kept).
uint32_t liveWindowCapacity();

// Places the slot's next frame in currentFrame (true) or clears it (false).
bool advanceGhost(size_t slot);

// Enters the worm in the round roster; true when this starts a new round.
bool noteTurn(const WormView& worm);

// Puts a new recording into the slot (the old one is freed): the slot's cursors start over, its
// comparison is dropped, and during a running race the new ghost joins it at once.
void replaceGhostRecording(size_t slot, GhostRecording&& replacement);

// The live race clock compared with ghost clocks.
uint64_t liveRaceClock();

// The per-frame race step for the worm that received the message.
void trackRace(HostAddr world, const WormView& worm);

}  // namespace tarvek
