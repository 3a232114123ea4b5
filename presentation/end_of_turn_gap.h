#pragma once
// The arithmetic of the end-of-turn gap, in frames; a positive gap means the live worm is behind.
#include <cstdint>
#include <optional>

#include "ghostdata/ghost_recording.h"

namespace tarvek {

// Frames the ghost moved in a segment (its frame count after the movement start); none when the
// segment does not exist.
std::optional<uint64_t> segmentMovingFrames(const GhostRecording& ghost, uint32_t segmentIndex);

// A BigRR turn. The ghost's clock at its segment's end is
// T = segmentIndex · turnFrames + min(turnFrames, movingFrames) − 1. A live worm last matched at
// ghost clock C ≥ T reached it, and the gap is the comparison's delta; otherwise T − C.
int64_t segmentTurnGap(uint64_t ghostClock, int64_t delta, uint32_t segmentIndex, uint64_t turnFrames,
                       uint64_t movingFrames);

// The ghost's race time: in TrickRace the moving frames of all its segments, else those of the
// current segment; none when the ghost never moved there.
std::optional<uint64_t> ghostRaceFrames(const GhostRecording& ghost, uint32_t segmentIndex, bool trickRace);

// Live time − ghost time, each first capped at cap when one is given.
int64_t racedTimeGap(uint64_t liveFrames, uint64_t ghostFrames, std::optional<uint64_t> cap);

}  // namespace tarvek
