// trackRace: the per-frame race state machine.
#include "host/host_layout.h"
#include "host/settings.h"
#include "host/text.h"
#include "race/frame_driver.h"
#include "race/live_comparison.h"
#include "race/race_callouts.h"
#include "race/race_state.h"
#include "race/race_type.h"

namespace tarvek {

namespace {

constexpr uint32_t kRopeBlockedState = host_layout::worm::kStateRopeBlocked;

void advanceBothSegments(RaceState& race) {
    for (SlotPlayback& playback : race.slots) playback.segmentIndex = saturatingIncrement(playback.segmentIndex);
}

void enterTurn(RaceState& race, const WormView& worm) {
    race.turnEntered = true;
    race.turnMovementSeen = true;
    if (noteTurn(worm)) advanceBothSegments(race);
}

void clearCurrentFrames(RaceState& race) {
    for (SlotPlayback& playback : race.slots) playback.currentFrame = nullptr;
}

// The worm's turn is not running (or it is another worm's message).
void trackInactiveWorm(HostAddr world, RaceState& race, const WormView& worm) {
    if (worm.address != race.raceWorm) return;
    const RaceType& type = raceType();
    if (race.raceArmed && race.raceStarted) raceCallouts().showEndOfTurnGap(world);
    const bool roundRules = type.isBigRR && !type.isTrickRace;
    if (roundRules && race.raceArmed && !race.turnEntered && !race.startBlocked) enterTurn(race, worm);
    if (roundRules && race.raceStarted) {
        const bool goldPlays = advanceGhost(kGoldSlot);
        const bool bluePlays = advanceGhost(kBlueSlot);
        if (goldPlays || bluePlays) {
            // The ghosts finish their segment and tail after the live turn ended.
            race.raceArmed = false;
            race.raceFrames = saturatingIncrement(race.raceFrames);
            return;
        }
    }
    race.raceStarted = false;
    race.raceArmed = false;
    race.startBlocked = false;
    race.startCaptured = false;
    clearCurrentFrames(race);
    race.raceFrames = 0;
}

void armRace(HostAddr world, RaceState& race, const WormView& worm) {
    const RaceType& type = raceType();
    if (race.raceWorm != 0 && race.raceWorm != worm.address && race.raceArmed && race.raceStarted) {
        raceCallouts().showEndOfTurnGap(world);
    }
    race.raceWorm = worm.address;
    if (!type.isBigRR || type.isTrickRace) {
        for (SlotPlayback& playback : race.slots) playback.segmentIndex = 0;
    }
    for (SlotPlayback& playback : race.slots) {
        playback.frameCursor = 0;
        playback.tailCursor = 0;
        playback.currentFrame = nullptr;
    }
    race.raceStarted = false;
    race.raceFrames = 0;
    race.startCaptured = true;
    race.turnEntered = false;
    clearComparisonsForArming();
    raceCallouts().clearEndOfTurnGap();
    race.windowCapacity = liveWindowCapacity();
    race.window.clear();
    race.startBlocked = worm.state == kRopeBlockedState && !(type.isBungeeRace && race.turnMovementSeen);
    race.startX = worm.x;
    race.startY = worm.y;
}

void startRace(RaceState& race) {
    race.raceStarted = true;
    frameDriver().attemptStarted = true;
    uint64_t startClock = 0;
    for (size_t slot = 0; slot < kGhostSlotCount; ++slot) {
        SlotPlayback& playback = race.slots[slot];
        const GhostRecording& recording = slotRecording(slot);
        if (raceType().isBigRR) {
            const auto& starts = recording.movementStart;
            playback.frameCursor = playback.segmentIndex < starts.size() ? starts[playback.segmentIndex] : 0;
        } else {
            playback.frameCursor = recording.firstMovementFrame;
        }
        playback.tailCursor = 0;
    }
    if (raceType().isBigRR) startClock = liveRaceClock();
    startComparison(startClock);
}

void recordLiveSample(RaceState& race, const WormView& worm, uint64_t clock) {
    if (!isBigRRSegmentMode() || race.windowCapacity == 0) return;
    if (!race.window.empty() && race.window.back().clock == clock) {
        race.window.back().x = worm.x;
        race.window.back().y = worm.y;
        return;
    }
    if (race.window.size() >= race.windowCapacity) race.window.pop_front();
    race.window.push_back(LiveSample{worm.x, worm.y, clock});
}

uint32_t timerColourFor(const ComparisonResult& gold, uint32_t previous) {
    if (!settings().turnTimerColorEnabled) return 0;
    const RaceType& type = raceType();
    if (type.isBungeeRace || (type.isBigRR && !type.isTrickRace)) return gold.matched ? gold.status : 0;
    return gold.matched && gold.status != 0 ? gold.status : previous;
}

}  // namespace

void trackRace(HostAddr world, const WormView& worm) {
    RaceState& race = raceState();
    const RaceType& type = raceType();
    if (worm.active == 0) {
        trackInactiveWorm(world, race, worm);
        return;
    }

    if (worm.address == race.raceWorm && race.raceArmed) {
        clearCurrentFrames(race);
        if (!race.startCaptured) {
            race.startX = worm.x;
            race.startY = worm.y;
            race.startCaptured = true;
        }
    } else {
        armRace(world, race, worm);
    }

    if (!(type.isBungeeRace && race.turnMovementSeen) && worm.state == kRopeBlockedState) race.startBlocked = true;
    const bool moved = worm.x != race.startX || worm.y != race.startY;
    const bool freeMove = moved && !race.startBlocked;
    if (type.isBigRR && !type.isTrickRace && !race.turnEntered && freeMove) enterTurn(race, worm);

    if (!race.raceStarted) {
        if (!freeMove) raceCallouts().prepareGhostGraphics(world, false);
        if (freeMove) startRace(race);
        if (!race.raceStarted) {
            race.raceArmed = true;
            return;
        }
    }

    const uint64_t clock = liveRaceClock();
    recordLiveSample(race, worm, clock);
    const LivePosition live{worm.x, worm.y};
    const ComparisonResult gold = runLiveComparison(kGoldSlot, worm, live, clock);
    runLiveComparison(kBlueSlot, worm, live, clock);
    race.turnTimerColour = timerColourFor(gold, race.turnTimerColour);

    advanceGhost(kGoldSlot);
    advanceGhost(kBlueSlot);
    race.raceFrames = saturatingIncrement(race.raceFrames);
    race.raceArmed = true;
}

}  // namespace tarvek
