#include <gtest/gtest.h>

#include "race/live_comparison.h"
#include "race/race_state.h"
#include "race/race_type.h"
#include "support/race_host.h"

namespace tarvek {
namespace {

using sim::fixedPixels;
using testing::recordingFromPaths;
using testing::straightRun;

class LiveComparisonTest : public testing::RaceHostTest {
protected:
    LiveComparisonTest() {
        raceType().isBigRR = true;
        raceType().turnTime = 1;  // 50-frame turns
        goldGhost() = recordingFromPaths({straightRun(1, 20, 0, 0, 1), straightRun(1, 20, 0, 0, 1)});
        raceState().raceWorm = worm.address();
        readWormView(host.memory(), worm.address(), view);
    }
    sim::SimWorm& worm = game.addWorm(7, 8);
    WormView view;
};

TEST_F(LiveComparisonTest, SegmentBoundOpensThePathOnlyAfterTheSegmentEndWasReached) {
    startComparison(0);
    SlotComparison& gold = slotComparison(kGoldSlot);
    ASSERT_TRUE(gold.active);
    EXPECT_EQ(gold.sampleLimit, 20u);
    EXPECT_EQ(gold.bound.segmentEndIndex, 19u);
    runLiveComparison(kGoldSlot, view, {fixedPixels(5), 0}, 4);
    EXPECT_TRUE(gold.bound.belowSegmentEnd);
    EXPECT_EQ(gold.sampleLimit, 20u);
    runLiveComparison(kGoldSlot, view, {fixedPixels(20), 0}, 19);
    EXPECT_TRUE(gold.bound.passedSegmentEnd);
    EXPECT_EQ(gold.sampleLimit, 40u);
    EXPECT_TRUE(gold.matchedThisTurn);
}

TEST_F(LiveComparisonTest, AWormsNextTurnContinuesFromItsSavedState) {
    startComparison(0);
    runLiveComparison(kGoldSlot, view, {fixedPixels(20), 0}, 19);
    SlotComparison& gold = slotComparison(kGoldSlot);
    ASSERT_EQ(gold.savedStates.count(view.identityKey()), 1u);
    const int32_t savedIndex = gold.state.matchedIndex;

    raceState().slots[kGoldSlot].segmentIndex = 1;
    clearComparisonsForArming();
    startComparison(50);
    EXPECT_TRUE(gold.state.hasMatch);
    EXPECT_FALSE(gold.state.matchedLastCall);
    EXPECT_EQ(gold.state.lastLiveClock, 50u);
    EXPECT_EQ(gold.state.matchedIndex, savedIndex);
    EXPECT_TRUE(gold.bound.belowSegmentEnd);  // 19 is below segment 1's end (39)

    // Another worm has no saved state: its search starts at the first sample of clock 50.
    sim::SimWorm& other = game.addWorm(9, 9);
    raceState().raceWorm = other.address();
    clearComparisonsForArming();
    startComparison(50);
    EXPECT_FALSE(gold.state.hasMatch);
    EXPECT_EQ(gold.state.startIndex, 20u);

    // A restored match beyond the segment's end opens the whole path at once.
    raceState().raceWorm = worm.address();
    raceState().slots[kGoldSlot].segmentIndex = 0;
    runLiveComparison(kGoldSlot, view, {fixedPixels(30), 0}, 80);
    clearComparisonsForArming();
    startComparison(100);
    ASSERT_EQ(gold.state.matchedIndex, 39);  // segment 1's last sample, beyond segment 0's end (19)
    EXPECT_TRUE(gold.bound.passedSegmentEnd);
    EXPECT_FALSE(gold.bound.belowSegmentEnd);

    // resetRaceState drops every worm's saved state.
    resetRaceState();
    raceState().raceWorm = worm.address();
    startComparison(100);
    EXPECT_FALSE(gold.state.hasMatch);
}

// The first search reaches as far as the segment's samples, or 50 samples per second of the turn
// outside segment mode, when that is more than 250.
TEST_F(LiveComparisonTest, FirstSearchWindowsGrowWithTheSegmentAndTheTurn) {
    const struct {
        bool bungee;
        uint32_t turnTime, samples;
        uint64_t startClock;
        int32_t liveX, index;
    } cases[] = {{false, 1, 400, 0, 381, 380}, {false, 1, 400, 1000, 50, 49}, {true, 10, 600, 100000, 100, 99}};
    for (const auto& c : cases) {
        resetRaceState();
        raceType().isBungeeRace = c.bungee;
        raceType().turnTime = c.turnTime;
        goldGhost() = recordingFromPaths({straightRun(1, c.samples, 0, 0, 1)});
        raceState().raceWorm = worm.address();
        startComparison(c.startClock);
        const ComparisonResult result = runLiveComparison(kGoldSlot, view, {fixedPixels(c.liveX), 0}, c.startClock);
        ASSERT_TRUE(result.matched) << c.liveX;
        EXPECT_EQ(result.matchedIndex, c.index);
    }
}

TEST_F(LiveComparisonTest, TrickRaceKeepsNoPerWormStates) {
    raceType().isTrickRace = true;
    startComparison(0);
    SlotComparison& gold = slotComparison(kGoldSlot);
    EXPECT_EQ(gold.sampleLimit, 40u);  // the whole path
    runLiveComparison(kGoldSlot, view, {fixedPixels(5), 0}, 4);
    EXPECT_TRUE(gold.state.hasMatch);
    EXPECT_TRUE(gold.savedStates.empty());
    EXPECT_FALSE(gold.matchedThisTurn);
}

TEST_F(LiveComparisonTest, MissingSegmentMeansNoComparison) {
    raceState().slots[kGoldSlot].segmentIndex = 5;
    startComparison(250);
    EXPECT_FALSE(slotComparison(kGoldSlot).active);
    EXPECT_FALSE(runLiveComparison(kGoldSlot, view, {0, 0}, 250).matched);
    EXPECT_FALSE(slotComparison(kBlueSlot).active);  // an empty slot
}

}  // namespace
}  // namespace tarvek
