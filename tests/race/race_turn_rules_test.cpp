// Turn rules of the race tracking that whole scenarios leave open: what arming resets, the gap
// owed to a started worm when another one takes over, the turn-timer colour per discipline, the
// attempt flag as the pipeline sees it, and a count-up scheme.
#include <gtest/gtest.h>

#include "host/log.h"
#include "race/frame_driver.h"
#include "race/live_comparison.h"
#include "race/race_callouts.h"
#include "race/race_state.h"
#include "race/race_type.h"
#include "support/race_host.h"

namespace tarvek {
namespace {

using testing::activeFrames;
using testing::recordingFromPaths;
using testing::straightRun;

int gapsShown = 0;
bool attemptAtPipeline = false;

class RaceTurnRules : public testing::RaceHostTest {
protected:
    RaceTurnRules() {
        enterWorld();
        gapsShown = 0;
        raceCallouts().showEndOfTurnGap = [](HostAddr) { ++gapsShown; };
        raceCallouts().clearEndOfTurnGap = [] {};
        goldGhost() = recordingFromPaths({straightRun(1, 300, 0, 0, 1), straightRun(1, 300, 0, 0, 1)});
    }

    // A new worm, inactive, then a fresh race type read from the scheme byte on the next frame.
    sim::SimWorm& freshRace(uint32_t id, int8_t schemeByte, bool trickRace = false, bool bungeeRace = false) {
        resetRaceState();
        forgetRaceTypeDetection();
        useScheme(schemeByte);
        sim::SimWorm& worm = game.addWorm(id, 100 + id);
        worm.apply({0, 0, false, 0});
        game.runFrame();
        raceType().isTrickRace = trickRace;
        raceType().isBungeeRace = bungeeRace;
        return worm;
    }
    void play(sim::SimWorm& worm, const std::vector<sim::WormFrame>& frames) {
        for (const sim::WormFrame& frame : frames) {
            worm.apply(frame);
            game.runFrame();
        }
    }
};

TEST_F(RaceTurnRules, ArmingReturnsSegmentsToZeroOutsideBigRRSegmentMode) {
    const struct {
        int8_t scheme;
        bool trickRace;
        uint32_t segment;
    } rows[] = {{0, false, 0}, {45, true, 0}, {45, false, 2}};
    uint32_t id = 1;
    for (const auto& row : rows) {
        sim::SimWorm& worm = freshRace(id++, row.scheme, row.trickRace);
        raceState().slots[kGoldSlot].segmentIndex = raceState().slots[kBlueSlot].segmentIndex = 2;
        play(worm, activeFrames(straightRun(1, 0, 0, 0, 0)));
        EXPECT_EQ(raceState().raceWorm, worm.address());
        EXPECT_EQ(raceState().slots[kGoldSlot].segmentIndex, row.segment) << int(row.scheme) << row.trickRace;
        EXPECT_EQ(raceState().slots[kBlueSlot].segmentIndex, row.segment);
        worm.setActive(false);
    }
}

TEST_F(RaceTurnRules, AnotherWormTakingOverAStartedRaceShowsItsGap) {
    sim::SimWorm& first = freshRace(1, 0);
    sim::SimWorm& second = game.addWorm(2, 102);
    play(first, activeFrames(straightRun(1, 5, 0, 0, 1)));
    ASSERT_TRUE(raceState().raceStarted);
    ASSERT_EQ(gapsShown, 0);
    play(second, activeFrames(straightRun(1, 0, 50, 0, 0)));  // the first worm never went inactive
    EXPECT_EQ(raceState().raceWorm, second.address());
    EXPECT_EQ(gapsShown, 1);
}

TEST_F(RaceTurnRules, TheTimerColourFollowsOnlyAMatchInBigRRAndBungeeRace) {
    const struct {
        int8_t scheme;
        bool bungeeRace;
        uint32_t colourOffThePath;
    } rows[] = {{45, false, 0}, {45, true, 0}, {0, false, race_status::kAhead}};
    uint32_t id = 1;
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.scheme) * 10 + row.bungeeRace);
        sim::SimWorm& worm = freshRace(id++, row.scheme, false, row.bungeeRace);
        play(worm, activeFrames(straightRun(1, 40, 0, 0, 2)));
        ASSERT_EQ(raceState().turnTimerColour, race_status::kAhead);
        play(worm, activeFrames({{80, 400}}));  // far from every sample: no match
        ASSERT_FALSE(slotComparison(kGoldSlot).state.matchedLastCall);
        EXPECT_EQ(raceState().turnTimerColour, row.colourOffThePath);
        worm.setActive(false);
    }
}

TEST_F(RaceTurnRules, TheFirstMovementFramesPipelineSeesTheAttemptStarted) {
    sim::SimWorm& worm = freshRace(1, 0);
    raceCallouts().runMapAndGhostPipeline = [](HostAddr world) {
        attemptAtPipeline = frameDriver().attemptStarted;
        defaultRaceCallouts().runMapAndGhostPipeline(world);
    };
    play(worm, activeFrames(straightRun(3, 0, 5, 5, 0)));
    EXPECT_FALSE(attemptAtPipeline);
    play(worm, activeFrames(straightRun(0, 1, 5, 5, 1)));
    EXPECT_TRUE(attemptAtPipeline);
}

TEST_F(RaceTurnRules, ANegativeSchemeByteIsACountUpTTRR) {
    CapturedLog log;
    freshRace(1, -1);
    EXPECT_TRUE(raceType().detected);
    EXPECT_FALSE(raceType().isBigRR);
    EXPECT_EQ(raceType().turnTime, 0u);
    EXPECT_TRUE(log.contains("automatic race type from scheme: TTRR (turn time count-up/unlimited, raw 0xFF)"));
}

}  // namespace
}  // namespace tarvek
