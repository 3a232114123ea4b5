#pragma once
// The live race compared with each ghost slot's path: set up at race start, one comparison per
// race frame, the BigRR segment bound and the per-worm states kept between turns.
#include <array>
#include <cstdint>
#include <unordered_map>

#include "race/ghost_path.h"
#include "race/path_comparison.h"
#include "race/race_state.h"
#include "race/worm_view.h"

namespace tarvek {

struct SegmentBound {
    uint32_t segmentEndIndex = 0;
    bool segmentBounded = false;
    bool belowSegmentEnd = false;
    bool passedSegmentEnd = false;
};

struct SlotComparison {
    GhostPath path;
    ComparisonState state;
    SegmentBound bound;
    uint32_t sampleLimit = 0;  // 0: no comparison
    bool active = false;
    bool matchedThisTurn = false;
    std::unordered_map<uint64_t, ComparisonState> savedStates;  // by worm identity
};

SlotComparison& slotComparison(size_t slot);

// Arming: comparison states, segment bounds and matchedThisTurn start empty.
void clearComparisonsForArming();
// Race reset: also drops the paths with their cache keys and the per-worm saved states.
void resetComparisons();

// (Re)builds the slot's path for its current segment under the current race type.
void buildGhostPath(size_t slot);

// Race start: builds both paths and sets up both comparisons for startClock.
void startComparison(uint64_t startClock);

// A new ghost in one slot during a running race: that slot's comparison starts over at
// startClock; the other slot's comparison runs on undisturbed.
void restartComparison(size_t slot, uint64_t startClock);

// Restores the worm's saved state (BigRR turns) or places the search start by clock.
void setupComparison(SlotComparison& comparison, HostAddr worm, uint64_t startClock);

// One race frame's comparison for the slot; returns the result (unmatched while inactive).
ComparisonResult runLiveComparison(size_t slot, const WormView& worm, LivePosition live, uint64_t liveClock);

}  // namespace tarvek
