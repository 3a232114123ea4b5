#include <gtest/gtest.h>

#include <cstdint>

#include "presentation/end_of_turn_gap.h"
#include "presentation/gap_message.h"
#include "presentation/race_feedback.h"
#include "race/live_comparison.h"
#include "race/race_state.h"
#include "race/race_type.h"
#include "support/race_host.h"

namespace tarvek {
namespace {

TEST(RaceFeedback, SecondsAndLines) {
    const std::pair<int64_t, const char*> seconds[] = {
        {75, "+1.50s"}, {-1, "-0.02s"}, {0, "0.00s"}, {49, "+0.98s"}, {51, "+1.02s"}};
    for (const auto& [frames, text] : seconds) EXPECT_EQ(formatSeconds(frames, 50), text);
    EXPECT_EQ(formatSeconds(5, 0), "nan");
    EXPECT_EQ(formatSeconds(1999, 1000), "+2.00s");  // 99.9 hundredths round up into the next second

    const struct { const char* label; bool enabled; int64_t gap; const char* text; uint32_t status; } lines[] = {
        {"WR", true, 0, "WR 0.00s EVEN", 0},   {"WR", true, -75, "WR 1.50s AHEAD", 1}, {"BLUE", false, 51, "", 0},
        {"WR", true, 1, "WR 0.02s BEHIND", 2}, {"", true, -5, "", 0}};
    for (const auto& c : lines) {
        const FeedbackLine line = formatFeedbackLine(c.label, c.enabled, c.gap);
        EXPECT_EQ(std::pair(line.text, line.status), std::pair(std::string(c.text), c.status));
    }
}

TEST(RaceFeedback, GapArithmetic) {
    const struct { uint64_t clock; int64_t delta; uint32_t segment; uint64_t turn, moving; int64_t gap; } turns[] = {
        {100, 7, 0, 500, 50, 7},      // reached the segment end (clock 49): the delta
        {40, -3, 0, 500, 50, 9},      // fell short of it: 49 − 40
        {1000, 0, 2, 500, 600, 499},  // a segment longer than the turn ends with the turn
        {0, 5, 0, 500, 0, 5},         // a ghost that never moved ends at −1
    };
    for (const auto& c : turns) EXPECT_EQ(segmentTurnGap(c.clock, c.delta, c.segment, c.turn, c.moving), c.gap);

    EXPECT_EQ(racedTimeGap(700, 100, 500), 400);
    EXPECT_EQ(racedTimeGap(100, 900, 500), -400);

    GhostRecording ghost;
    ghost.segments = {{0, 100}, {100, 50}, {150, 30}};
    ghost.movementStart = {10, 50, 5};
    EXPECT_EQ(ghostRaceFrames(ghost, 2, true), 115u);  // 90 + 0 + 25
    EXPECT_EQ(ghostRaceFrames(ghost, 0, false), 90u);
    EXPECT_EQ(ghostRaceFrames(ghost, 1, false), std::nullopt);  // never moved in that segment
    EXPECT_EQ(ghostRaceFrames(ghost, 3, false), std::nullopt);
}

TEST(RaceFeedback, GapMessageExpiresWithItsWorldOrAfterItsTime) {
    GapMessageBoard board;
    GapMessage shown;
    const uint64_t first = board.post("WR 0.36s AHEAD", 1, 0x100, 0x200, 1000);
    EXPECT_FALSE(board.activeFor(0x100, 0x999, 1000, shown));  // another display: kept, not drawn
    ASSERT_TRUE(board.activeFor(0x100, 0x200, 4199, shown));
    EXPECT_EQ(std::pair(shown.textView(), shown.sequence), std::pair(std::string_view("WR 0.36s AHEAD"), first));
    EXPECT_FALSE(board.activeFor(0x100, 0x200, 4200, shown));  // 3200 ms: gone for good
    EXPECT_EQ(board.post("x", 0, 0x100, 0x200, 1000), first + 1);
    EXPECT_FALSE(board.activeFor(0x101, 0x200, 1000, shown));  // another world
    board.post("x", 0, 0x100, 0x200, 1000);
    EXPECT_FALSE(board.activeFor(0x100, 0x200, 999, shown));  // a tick before its start
}

class EndOfTurnGapShow : public testing::RaceHostTest {
protected:
    EndOfTurnGapShow() {
        gapMessageBoard().setOverlayInstalled(true);
        goldGhost() = ghostOf(100);  // moves from frame 10: races 90 frames
        blueGhost() = ghostOf(200);  // races 190 frames
    }
    ~EndOfTurnGapShow() override { gapMessageBoard().setOverlayInstalled(false); }
    static GhostRecording ghostOf(uint32_t frames) { return {std::vector<GhostFrame>(frames), {{0, frames}}, {10}}; }
    std::string shown() {
        GapMessage message;
        if (!gapMessageBoard().activeFor(kWorld, kDisplay, millisecondTick(), message)) return "(none)";
        return std::string(message.textView()) + " /" + std::to_string(message.status);
    }
    static constexpr HostAddr kWorld = 0x5000, kDisplay = 0x6000;
};

TEST_F(EndOfTurnGapShow, TrickRaceOncePerRace) {
    raceType().isTrickRace = true;
    raceState().raceFrames = 150;
    raceState().turnTimerColour = 2;
    showEndOfTurnGap(kWorld, kDisplay);
    EXPECT_EQ(shown(), "WR 1.20s BEHIND  |  BLUE 0.80s AHEAD /2");
    EXPECT_EQ(raceState().turnTimerColour, 0u);

    gapMessageBoard().drop();
    showEndOfTurnGap(kWorld, kDisplay);  // a second race end before the next race
    EXPECT_EQ(shown(), "(none)");

    clearEndOfTurnGap();
    raceState().raceFrames = 10;
    goldGhost() = GhostRecording{};
    showEndOfTurnGap(kWorld, kDisplay);
    EXPECT_EQ(shown(), "BLUE 3.60s AHEAD /1");  // the blue line alone, with its status
}

TEST_F(EndOfTurnGapShow, OnlyWhereAGapCanBeShown) {
    raceState().raceFrames = 150;
    showEndOfTurnGap(kWorld, kDisplay);  // plain TTRR
    raceType().isTrickRace = true;
    showEndOfTurnGap(kWorld, 0);
    gapMessageBoard().setOverlayInstalled(false);
    showEndOfTurnGap(kWorld, kDisplay);
    EXPECT_EQ(shown(), "(none)");

    // BigRR turns: only slots with a bounded segment matched this turn get a line.
    raceType() = RaceType{};
    raceType().isBigRR = true;
    raceType().turnTime = 10;
    for (size_t slot : {kGoldSlot, kBlueSlot}) {
        slotComparison(slot).state.ghostClock = 60;  // short of the segment end at 89
        slotComparison(slot).matchedThisTurn = true;
    }
    slotComparison(kGoldSlot).bound.segmentBounded = true;
    gapMessageBoard().setOverlayInstalled(true);  // nothing was shown, so the gap still may be
    showEndOfTurnGap(kWorld, kDisplay);
    EXPECT_EQ(shown(), "WR 0.58s BEHIND /2");
}

}  // namespace
}  // namespace tarvek
