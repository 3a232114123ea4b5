#include "race/live_comparison.h"

#include <algorithm>

#include "host/host_context.h"
#include "host/host_layout.h"
#include "race/race_callouts.h"
#include "race/race_type.h"

namespace tarvek {

namespace {

std::array<SlotComparison, kGhostSlotCount>& comparisons() {
    static std::array<SlotComparison, kGhostSlotCount> slots;
    return slots;
}

ComparisonParams paramsFor(uint32_t sampleLimit) {
    ComparisonParams params;
    if (raceType().isBigRR) params.firstBackWindow = std::max<uint32_t>(250, raceType().turnTime * 50);
    if (isBigRRSegmentMode() && sampleLimit != 0) {
        params.firstBackWindow = std::max(params.firstBackWindow, sampleLimit);
        params.firstForwardWindow = std::max<uint32_t>(250, sampleLimit);
    }
    return params;
}

// Saved states carry a worm's comparison over to its next turn in BigRR.
bool keepsPerWormStates() { return raceType().isBigRR && !raceType().isTrickRace; }

bool wormReadable(HostAddr worm) { return hostMemory().isReadable(worm, host_layout::worm::kReadableSpan); }

void updateSegmentBound(SlotComparison& comparison, const ComparisonResult& result) {
    SegmentBound& bound = comparison.bound;
    if (bound.segmentBounded && result.matched && !bound.passedSegmentEnd) {
        if (static_cast<uint32_t>(result.matchedIndex) < bound.segmentEndIndex) {
            bound.belowSegmentEnd = true;
        } else if (bound.belowSegmentEnd) {
            bound.passedSegmentEnd = true;
        }
    }
    const uint32_t pathSize = static_cast<uint32_t>(comparison.path.samples.size());
    comparison.sampleLimit = 0;
    if (bound.segmentBounded && bound.segmentEndIndex < pathSize) {
        comparison.sampleLimit = bound.passedSegmentEnd ? pathSize : bound.segmentEndIndex + 1;
    }
}

void placeComparison(size_t slot) {
    SlotComparison& comparison = comparisons()[slot];
    const uint32_t pathSize = static_cast<uint32_t>(comparison.path.samples.size());
    comparison.bound = SegmentBound{};
    comparison.sampleLimit = 0;
    if (!isBigRRSegmentMode()) {
        comparison.sampleLimit = pathSize;
        comparison.active = pathSize != 0;
        return;
    }
    const uint32_t segment = raceState().slots[slot].segmentIndex;
    const auto& ranges = comparison.path.segmentRanges;
    comparison.active = segment < ranges.size() && !ranges[segment].empty();
    if (!comparison.active) return;
    comparison.bound.segmentEndIndex = ranges[segment].last;
    comparison.bound.segmentBounded = true;
    comparison.sampleLimit = ranges[segment].last + 1;
}

}  // namespace

SlotComparison& slotComparison(size_t slot) { return comparisons()[slot]; }

void clearComparisonsForArming() {
    for (SlotComparison& comparison : comparisons()) {
        comparison.state = ComparisonState{};
        comparison.bound = SegmentBound{};
        comparison.sampleLimit = 0;
        comparison.active = false;
        comparison.matchedThisTurn = false;
    }
}

void resetComparisons() {
    for (SlotComparison& comparison : comparisons()) comparison = SlotComparison{};
}

void buildGhostPath(size_t slot) {
    const bool segmentMode = raceType().isBigRR || raceType().isTrickRace;
    buildGhostPath(comparisons()[slot].path, slotRecording(slot), raceState().slots[slot].segmentIndex, segmentMode,
                   turnLengthFrames());
}

void setupComparison(SlotComparison& comparison, HostAddr worm, uint64_t startClock) {
    ComparisonState& state = comparison.state;
    bool restored = false;
    if (keepsPerWormStates() && wormReadable(worm)) {
        WormView view;
        if (readWormView(hostMemory(), worm, view)) {
            const auto saved = comparison.savedStates.find(view.identityKey());
            if (saved != comparison.savedStates.end()) {
                state = saved->second;
                state.lastLiveClock = startClock;
                state.matchedLastCall = false;
                restored = true;
            }
        }
    }
    if (!restored) {
        state = ComparisonState{};
        state.startIndex = firstSampleAtClock(comparison.path.samples, comparison.sampleLimit, startClock);
        state.position = state.startIndex;
    }
    SegmentBound& bound = comparison.bound;
    if (bound.segmentBounded && state.hasMatch) {
        if (static_cast<uint32_t>(state.matchedIndex) > bound.segmentEndIndex) {
            bound.passedSegmentEnd = true;
        } else {
            bound.belowSegmentEnd = true;
        }
    }
}

namespace {

// Builds and places the comparisons of slots [first, last] and, in BigRR segment mode, catches
// them up on the frames of this turn that were played before they started.
void startSlotComparisons(size_t first, size_t last, uint64_t startClock) {
    RaceState& race = raceState();
    const bool segmentMode = isBigRRSegmentMode();
    if (segmentMode && !race.window.empty()) startClock = race.window.front().clock;
    for (size_t slot = first; slot <= last; ++slot) {
        buildGhostPath(slot);
        placeComparison(slot);
        setupComparison(comparisons()[slot], race.raceWorm, startClock);
    }
    if (!segmentMode) return;
    WormView worm;
    readWormView(hostMemory(), race.raceWorm, worm);
    for (const LiveSample& sample : race.window) {
        for (size_t slot = first; slot <= last; ++slot) {
            runLiveComparison(slot, worm, LivePosition{sample.x, sample.y}, sample.clock);
        }
    }
}

}  // namespace

void startComparison(uint64_t startClock) {
    startSlotComparisons(kGoldSlot, kBlueSlot, startClock);
    raceState().turnTimerColour = 0;
    raceCallouts().clearEndOfTurnGap();
}

void restartComparison(size_t slot, uint64_t startClock) {
    comparisons()[slot] = SlotComparison{};
    startSlotComparisons(slot, slot, startClock);
}

ComparisonResult runLiveComparison(size_t slot, const WormView& worm, LivePosition live, uint64_t liveClock) {
    SlotComparison& comparison = comparisons()[slot];
    ComparisonResult result;
    if (!comparison.active) return result;

    const uint32_t limit = std::min(static_cast<uint32_t>(comparison.path.samples.size()), comparison.sampleLimit);
    compare(result, comparison.state, comparison.path.samples, limit, live, liveClock, paramsFor(limit));
    if (isBigRRSegmentMode()) {
        if (result.matched) comparison.matchedThisTurn = true;
        updateSegmentBound(comparison, result);
    }
    // A view is only filled from a guarded read of the worm, which covers its first 260 bytes.
    if (keepsPerWormStates() && comparison.state.hasMatch && worm.address != 0) {
        comparison.savedStates[worm.identityKey()] = comparison.state;
    }
    return result;
}

}  // namespace tarvek
