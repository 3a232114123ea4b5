#include "race/race_state.h"

#include <algorithm>

#include "host/text.h"
#include "race/frame_driver.h"
#include "race/live_comparison.h"
#include "race/race_callouts.h"
#include "race/race_type.h"

namespace tarvek {

RaceState& raceState() {
    static RaceState state;
    return state;
}

GhostRecording& slotRecording(size_t slot) { return slot == kGoldSlot ? goldGhost() : blueGhost(); }

uint32_t liveWindowCapacity() {
    if (!isBigRRSegmentMode()) return 0;
    const uint32_t turnTime = raceType().turnTime;
    // turnTime × 50 + 1 must fit 32 bits.
    return turnTime < 85899346u ? turnTime * 50 + 1 : UINT32_MAX;
}

uint64_t liveRaceClock() {
    const RaceState& race = raceState();
    if (!raceType().isBigRR) return race.raceFrames;
    return uint64_t{race.slots[kGoldSlot].segmentIndex} * raceType().turnTime * 50 + race.raceFrames;
}

bool noteTurn(const WormView& worm) {
    auto& roster = raceState().roster;
    const std::pair<uint32_t, uint32_t> entry{worm.identityB, worm.identityA};
    const bool newRound = std::find(roster.begin(), roster.end(), entry) != roster.end();
    if (newRound) roster.clear();
    roster.push_back(entry);
    return newRound;
}

bool advanceGhost(size_t slot) {
    SlotPlayback& playback = raceState().slots[slot];
    const GhostRecording& recording = slotRecording(slot);
    playback.currentFrame = nullptr;
    while (playback.segmentIndex < recording.segments.size()) {
        const TurnSegment& segment = recording.segments[playback.segmentIndex];
        if (playback.frameCursor < segment.frameCount) {
            const size_t index = size_t{segment.firstFrame} + playback.frameCursor;
            if (index >= recording.frames.size()) return false;
            playback.currentFrame = &recording.frames[index];
            ++playback.frameCursor;
            return true;
        }
        if (!raceType().isTrickRace) {
            if (playback.segmentIndex >= recording.tails.size()) return false;
            const auto& tail = recording.tails[playback.segmentIndex];
            if (playback.tailCursor >= tail.size()) return false;
            playback.currentFrame = &tail[playback.tailCursor++];
            return true;
        }
        // TrickRace: the ghost jumps on to the next segment's movement start.
        playback.tailCursor = 0;
        ++playback.segmentIndex;
        playback.frameCursor = playback.segmentIndex < recording.movementStart.size()
                                   ? recording.movementStart[playback.segmentIndex]
                                   : 0;
    }
    return false;
}

void alignGhostToRace(size_t slot) {
    const RaceState& race = raceState();
    SlotPlayback& playback = raceState().slots[slot];
    const GhostRecording& recording = slotRecording(slot);
    uint32_t start = recording.firstMovementFrame;
    if (raceType().isBigRR)
        start = playback.segmentIndex < recording.movementStart.size() ? recording.movementStart[playback.segmentIndex] : 0;
    playback.frameCursor = saturatingAdd(start, race.raceFrames);
    playback.tailCursor = 0;
    playback.currentFrame = nullptr;
}

void replaceGhostRecording(size_t slot, GhostRecording&& replacement) {
    SlotPlayback& playback = raceState().slots[slot];
    // The current frame points into the recording that is about to go.
    playback.currentFrame = nullptr;
    playback.frameCursor = 0;
    playback.tailCursor = 0;
    slotRecording(slot) = std::move(replacement);
    slotComparison(slot) = SlotComparison{};
    raceCallouts().dropCrownAndNameTags();
    if (!raceState().raceStarted) return;
    alignGhostToRace(slot);
    restartComparison(slot, liveRaceClock());
}

void resetGhostCursorsAndComparisons(bool joinRunningRace) {
    RaceState& race = raceState();
    const bool joinRace = joinRunningRace && race.raceStarted && isBigRRSegmentMode();
    for (size_t slot = 0; slot < kGhostSlotCount; ++slot) {
        SlotPlayback& playback = race.slots[slot];
        const uint32_t segment = joinRace ? playback.segmentIndex : 0;
        playback = SlotPlayback{};
        playback.segmentIndex = segment;
        if (joinRace) {
            // The ghost has played as many frames of this turn as the live worm.
            const auto& starts = slotRecording(slot).movementStart;
            const uint32_t start = segment < starts.size() ? starts[segment] : 0;
            playback.frameCursor = saturatingAdd(start, race.raceFrames);
        }
    }
    resetComparisons();
    if (joinRace) startComparison(uint64_t{race.slots[kGoldSlot].segmentIndex} * turnLengthFrames());
}

void alignGhostsToRunningRace() {
    for (size_t slot = 0; slot < kGhostSlotCount; ++slot) alignGhostToRace(slot);
    resetComparisons();
    startComparison(liveRaceClock());
}

void resetRaceState() {
    RaceState& race = raceState();
    race = RaceState{};
    race.windowCapacity = liveWindowCapacity();
    FrameDriver& driver = frameDriver();
    driver.currentWorld = 0;
    driver.feedbackAllowed = false;
    raceCallouts().dropEndOfTurnGap();
    resetGhostCursorsAndComparisons(false);
}

}  // namespace tarvek
