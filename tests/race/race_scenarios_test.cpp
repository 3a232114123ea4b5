// Whole races driven through the worm message handler on the simulated host.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "host/host_layout.h"
#include "host/settings.h"
#include "race/frame_driver.h"
#include "race/live_comparison.h"
#include "race/race_callouts.h"
#include "race/race_state.h"
#include "race/race_type.h"
#include "support/race_host.h"

namespace tarvek {
namespace {

using sim::fixedPixels;
using testing::activeFrames;
using testing::recordingFromPaths;
using testing::straightRun;

constexpr uint32_t kBlocked = host_layout::worm::kStateRopeBlocked;

int gapCalls = 0;
int gapClears = 0;

class RaceScenario : public testing::RaceHostTest {
protected:
    RaceScenario() {
        enterWorld();
        gapCalls = gapClears = 0;
        raceCallouts().showEndOfTurnGap = [](HostAddr) { ++gapCalls; };
        raceCallouts().clearEndOfTurnGap = [] { ++gapClears; };
    }

    sim::SimWorm& addWorm(uint32_t id) {
        sim::SimWorm& worm = game.addWorm(id, 100 + id);
        worm.apply({0, 0, false, 0});
        worms.push_back(&worm);
        return worm;
    }

    // The worm is active for each of frames (the others idle), then every worm idles for gap frames.
    void playTurn(sim::SimWorm& worm, const std::vector<sim::WormFrame>& frames, uint32_t gap = 1,
                  const std::function<void(size_t)>& afterFrame = {}) {
        for (size_t i = 0; i < frames.size(); ++i) {
            for (sim::SimWorm* other : worms) other->setActive(false);
            worm.apply(frames[i]);
            game.runFrame();
            if (afterFrame) afterFrame(i);
        }
        worm.setActive(false);
        game.runFrames(gap);
    }

    // Frames applied to one worm as they come: the other worms keep their state.
    void play(sim::SimWorm& worm, const std::vector<sim::WormFrame>& frames) {
        for (const sim::WormFrame& frame : frames) {
            worm.apply(frame);
            game.runFrame();
        }
    }

    // A new inactive worm, then a fresh race type read from the scheme byte on the next frame.
    sim::SimWorm& freshRace(uint32_t id, int8_t schemeByte, bool trickRace = false, bool bungeeRace = false) {
        resetRaceState();
        forgetRaceTypeDetection();
        useScheme(schemeByte);
        goldGhost() = recordingFromPaths({straightRun(1, 300, 0, 0, 1), straightRun(1, 300, 0, 0, 1)});
        sim::SimWorm& worm = addWorm(id);
        game.runFrame();
        raceType().isTrickRace = trickRace;
        raceType().isBungeeRace = bungeeRace;
        return worm;
    }

    const GhostFrame* goldFrame() const { return raceState().slots[kGoldSlot].currentFrame; }
    const GhostFrame* blueFrame() const { return raceState().slots[kBlueSlot].currentFrame; }
    uint32_t goldSegment() const { return raceState().slots[kGoldSlot].segmentIndex; }

    std::vector<sim::SimWorm*> worms;
};

TEST_F(RaceScenario, TTRRGhostStartsAtFirstMovementAndVanishesAtTurnEnd) {
    useScheme(0);
    goldGhost() = recordingFromPaths({straightRun(5, 200, 100, 100, 1)});
    sim::SimWorm& worm = addWorm(1);
    playTurn(worm, activeFrames(straightRun(3, 60, 100, 100, 1)), 0, [&](size_t i) {
        if (i < 3) {
            EXPECT_FALSE(raceState().raceStarted);
            EXPECT_EQ(goldFrame(), nullptr);
        } else {
            // Frame i shows ghost frame firstMovementFrame + (i - 3).
            ASSERT_NE(goldFrame(), nullptr);
            EXPECT_EQ(goldFrame(), &goldGhost().frames[5 + (i - 3)]);
            EXPECT_EQ(raceState().raceFrames, i - 2);
            EXPECT_EQ(slotComparison(kGoldSlot).state.delta, 0);
        }
    });
    EXPECT_TRUE(frameDriver().attemptStarted);
    EXPECT_EQ(slotComparison(kGoldSlot).state.status, race_status::kEven);
    game.runFrame();  // the turn ends
    EXPECT_EQ(goldFrame(), nullptr);
    EXPECT_FALSE(raceState().raceStarted);
    EXPECT_EQ(raceState().raceFrames, 0u);
    EXPECT_EQ(gapCalls, 1);
    EXPECT_EQ(gapClears, 2);  // at arming and at the start
}

TEST_F(RaceScenario, TTRRFasterLiveWormIsAheadAndColoursTheTimer) {
    goldGhost() = recordingFromPaths({straightRun(1, 300, 0, 0, 1)});
    sim::SimWorm& worm = addWorm(1);
    playTurn(worm, activeFrames(straightRun(1, 40, 0, 0, 2)), 0);
    const SlotComparison& gold = slotComparison(kGoldSlot);
    EXPECT_EQ(gold.state.status, race_status::kAhead);
    EXPECT_LT(gold.state.delta, -3);
    EXPECT_EQ(raceState().turnTimerColour, race_status::kAhead);
    // The worm stops: TTRR keeps the last nonzero colour while the comparison passes through even.
    playTurn(worm, activeFrames(straightRun(60, 0, 80, 0, 0)), 0);
    EXPECT_EQ(raceState().turnTimerColour, race_status::kBehind);
    // A frame restart returns the race to idle: the timer keeps no colour of the race it ended.
    world.setFrameCounter(1);
    game.runFrame();
    EXPECT_EQ(raceState().turnTimerColour, 0u);

    settings().turnTimerColorEnabled = false;
    playTurn(worm, activeFrames(straightRun(1, 0, 80, 0, 0)), 0);
    EXPECT_EQ(raceState().turnTimerColour, 0u);
}

TEST_F(RaceScenario, WormThatNeverMovesNeverStartsButIsEnteredInBigRR) {
    useScheme(45);
    goldGhost() = recordingFromPaths({straightRun(2, 30, 0, 0, 1), straightRun(2, 30, 0, 0, 1)});
    sim::SimWorm& worm = addWorm(1);
    playTurn(worm, activeFrames(straightRun(20, 0, 0, 0, 0)), 1);
    EXPECT_FALSE(raceState().raceStarted);
    EXPECT_FALSE(frameDriver().attemptStarted);
    EXPECT_EQ(goldFrame(), nullptr);
    EXPECT_EQ(gapCalls, 0);
    ASSERT_EQ(raceState().roster.size(), 1u);  // entered when its turn ended
    EXPECT_EQ(raceState().roster[0], std::make_pair(101u, 1u));
    // Its next turn begins a new round.
    playTurn(worm, activeFrames(straightRun(1, 5, 0, 0, 1)), 0);
    EXPECT_EQ(goldSegment(), 1u);
    EXPECT_EQ(goldFrame(), &goldGhost().frames[32 + 2 + 4]);
}

TEST_F(RaceScenario, BigRRThreePlayersAdvanceSegmentsByRounds) {
    useScheme(45);
    goldGhost() = recordingFromPaths({straightRun(2, 30, 0, 0, 1), straightRun(2, 30, 0, 0, 1),
                                      straightRun(2, 30, 0, 0, 1)});
    blueGhost() = goldGhost();
    sim::SimWorm& a = addWorm(1);
    sim::SimWorm& b = addWorm(2);
    sim::SimWorm& c = addWorm(3);
    const auto run = activeFrames(straightRun(1, 20, 0, 0, 1));

    for (int round = 0; round < 3; ++round) {
        for (sim::SimWorm* worm : {&a, &b, &c}) {
            playTurn(*worm, run, 1, [&](size_t i) {
                if (i == 0) return;
                EXPECT_EQ(goldSegment(), static_cast<uint32_t>(round));
                const uint32_t segmentStart = 32u * round;
                EXPECT_EQ(goldFrame(), &goldGhost().frames[segmentStart + 2 + (i - 1)]);
                // Live clock = segment × 45 s × 50 + race frames; the ghost is level with the worm.
                const SlotComparison& gold = slotComparison(kGoldSlot);
                EXPECT_TRUE(gold.state.hasMatch);
                EXPECT_EQ(gold.state.ghostClock, 2250u * round + (i - 1));
                EXPECT_EQ(gold.state.delta, 0);
                EXPECT_EQ(gold.state.matchedIndex, static_cast<int32_t>(30 * round + (i - 1)));
                EXPECT_EQ(raceState().window.size(), i);
            });
            // The ghosts play on after the turn, then stop at their segment's end.
            EXPECT_EQ(gapCalls, 3 * round + (worm == &a ? 1 : worm == &b ? 2 : 3));
        }
    }
    EXPECT_EQ(raceState().roster.size(), 3u);
    EXPECT_EQ(raceState().windowCapacity, 45u * 50 + 1);
    EXPECT_EQ(slotComparison(kGoldSlot).savedStates.size(), 3u);
    EXPECT_EQ(slotComparison(kBlueSlot).savedStates.size(), 3u);
}

TEST_F(RaceScenario, BigRRGhostsPlayOnAfterTheTurnThroughTheirTail) {
    useScheme(45);
    GhostRecording ghost = recordingFromPaths({straightRun(1, 10, 0, 0, 1)});
    ghost.tails = {{ghost.frames[10], ghost.frames[10], ghost.frames[10]}};
    goldGhost() = ghost;
    sim::SimWorm& worm = addWorm(1);
    playTurn(worm, activeFrames(straightRun(1, 4, 0, 0, 1)), 0);
    EXPECT_EQ(raceState().raceFrames, 4u);
    // Six frames left in the segment and three tail frames after the turn ended.
    for (int frame = 0; frame < 9; ++frame) {
        game.runFrame();
        ASSERT_NE(goldFrame(), nullptr) << frame;
    }
    EXPECT_EQ(goldFrame(), &goldGhost().tails[0][2]);
    EXPECT_EQ(raceState().raceFrames, 13u);
    EXPECT_FALSE(raceState().raceArmed);
    game.runFrame();
    EXPECT_EQ(goldFrame(), nullptr);
    EXPECT_FALSE(raceState().raceStarted);
    EXPECT_EQ(gapCalls, 1);
}

TEST_F(RaceScenario, TrickRaceJumpsToTheNextSegmentsMovementStartAndSkipsTails) {
    raceType().isTrickRace = true;
    GhostRecording ghost = recordingFromPaths({straightRun(1, 3, 0, 0, 1), straightRun(4, 3, 3, 0, 1)});
    ghost.tails = {{ghost.frames[0]}, {ghost.frames[0]}};
    goldGhost() = ghost;
    std::vector<const GhostFrame*> shown;
    sim::SimWorm& worm = addWorm(1);
    playTurn(worm, activeFrames(straightRun(1, 9, 0, 0, 1)), 0, [&](size_t i) {
        if (i > 0) shown.push_back(goldFrame());
    });
    const auto& frames = goldGhost().frames;
    const std::vector<const GhostFrame*> expected = {&frames[1], &frames[2], &frames[3], &frames[4 + 4],
                                                     &frames[4 + 5], &frames[4 + 6], nullptr, nullptr, nullptr};
    EXPECT_EQ(shown, expected);
    // The path joins both segments with a break; clocks run on without a turn length.
    const GhostPath& path = slotComparison(kGoldSlot).path;
    ASSERT_EQ(path.samples.size(), 6u);
    EXPECT_TRUE(path.samples[3].breakBefore);
    EXPECT_EQ(path.samples[5].clock, 5u);
    // The worm runs on 3 pixels past the path's end: nearest is the last sample, clock 5.
    EXPECT_EQ(slotComparison(kGoldSlot).state.ghostClock, 5u);
    EXPECT_EQ(slotComparison(kGoldSlot).state.delta, 3);
    // TrickRace ignores the round roster.
    EXPECT_TRUE(raceState().roster.empty());
}

TEST_F(RaceScenario, ArmingInState0x28BlocksTheStartUntilANewArming) {
    goldGhost() = recordingFromPaths({straightRun(1, 30, 0, 0, 1)});
    sim::SimWorm& worm = addWorm(1);
    auto blockedThenMoving = activeFrames(straightRun(1, 0, 0, 0, 0), kBlocked);
    const auto moving = activeFrames(straightRun(0, 10, 0, 0, 1));
    blockedThenMoving.insert(blockedThenMoving.end(), moving.begin(), moving.end());
    playTurn(worm, blockedThenMoving, 1);
    EXPECT_FALSE(raceState().raceStarted);
    EXPECT_FALSE(raceState().startBlocked);  // cleared when the turn ended
    playTurn(worm, activeFrames(straightRun(1, 5, 10, 0, 1)), 0);
    EXPECT_TRUE(raceState().raceStarted);
}

TEST_F(RaceScenario, BungeeRaceStopsBlockingOnceAMovementWasSeen) {
    useScheme(45);
    goldGhost() = recordingFromPaths({straightRun(2, 30, 0, 0, 1), straightRun(2, 30, 0, 0, 1)});
    for (const bool bungee : {false, true}) {
        SCOPED_TRACE(bungee);
        resetRaceState();
        raceType().isBungeeRace = bungee;
        worms.clear();
        sim::SimWorm& a = addWorm(bungee ? 11 : 1);
        sim::SimWorm& b = addWorm(bungee ? 12 : 2);
        playTurn(a, activeFrames(straightRun(1, 5, 0, 0, 1)), 1);
        EXPECT_TRUE(raceState().turnMovementSeen);
        auto hanging = activeFrames(straightRun(1, 0, 0, 0, 0), kBlocked);
        const auto moving = activeFrames(straightRun(0, 5, 0, 0, 1), kBlocked);
        hanging.insert(hanging.end(), moving.begin(), moving.end());
        bool started = false;
        playTurn(b, hanging, 0, [&](size_t) { started = started || raceState().raceStarted; });
        EXPECT_EQ(started, bungee);
        // BungeeRace keeps no live path window.
        EXPECT_EQ(raceState().windowCapacity, bungee ? 0u : 2251u);
        EXPECT_TRUE(raceState().window.empty());  // blocked (no race) or no window (BungeeRace)
        a.setActive(false);
        b.setActive(false);
    }
}

TEST_F(RaceScenario, WindowHoldsAtMostOneTurnOfSamples) {
    useScheme(1);  // a 1 s turn: 51 samples
    goldGhost() = recordingFromPaths({straightRun(2, 300, 0, 0, 1)});
    sim::SimWorm& worm = addWorm(1);
    playTurn(worm, activeFrames(straightRun(1, 80, 0, 0, 1)), 0);
    ASSERT_EQ(raceState().window.size(), 51u);
    EXPECT_EQ(raceState().window.front().clock, 80u - 51u);
}

TEST_F(RaceScenario, FrameRestartDropsTheRunningRace) {
    goldGhost() = recordingFromPaths({straightRun(1, 100, 0, 0, 1)});
    sim::SimWorm& worm = addWorm(1);
    playTurn(worm, activeFrames(straightRun(1, 10, 0, 0, 1)), 0);
    ASSERT_TRUE(raceState().raceStarted);
    world.setFrameCounter(3);
    worm.apply({fixedPixels(11), 0, true, 0});
    game.runFrame();
    EXPECT_FALSE(raceState().raceStarted);
    EXPECT_EQ(goldFrame(), nullptr);
    EXPECT_TRUE(slotComparison(kGoldSlot).path.samples.empty());
}

TEST_F(RaceScenario, NewGhostsJoinARunningBigRRTurn) {
    useScheme(45);
    sim::SimWorm& worm = addWorm(1);
    playTurn(worm, activeFrames(straightRun(1, 10, 0, 0, 1)), 0);
    ASSERT_TRUE(raceState().raceStarted);
    // A first-opportunity selection loads the ghosts in the middle of the turn.
    goldGhost() = recordingFromPaths({straightRun(2, 40, 0, 0, 1)});
    resetGhostCursorsAndComparisons(true);
    EXPECT_EQ(raceState().slots[kGoldSlot].frameCursor, 2u + 10u);
    const SlotComparison& gold = slotComparison(kGoldSlot);
    EXPECT_TRUE(gold.active);
    EXPECT_TRUE(gold.state.hasMatch);  // caught up on the window
    EXPECT_EQ(gold.state.matchedIndex, 9);
    playTurn(worm, activeFrames(straightRun(0, 1, 10, 0, 1)), 0);
    EXPECT_EQ(goldFrame(), &goldGhost().frames[12]);
    EXPECT_EQ(gold.state.delta, 0);
}

TEST_F(RaceScenario, ArmingReturnsSegmentsToZeroOutsideBigRRSegmentMode) {
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

TEST_F(RaceScenario, AnotherWormTakingOverAStartedRaceShowsItsGap) {
    sim::SimWorm& first = freshRace(1, 0);
    sim::SimWorm& second = addWorm(2);
    play(first, activeFrames(straightRun(1, 5, 0, 0, 1)));
    ASSERT_TRUE(raceState().raceStarted);
    ASSERT_EQ(gapCalls, 0);
    play(second, activeFrames(straightRun(1, 0, 50, 0, 0)));  // the first worm never went inactive
    EXPECT_EQ(raceState().raceWorm, second.address());
    EXPECT_EQ(gapCalls, 1);
}

TEST_F(RaceScenario, TheTimerColourFollowsOnlyAMatchInBigRRAndBungeeRace) {
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

}  // namespace
}  // namespace tarvek
