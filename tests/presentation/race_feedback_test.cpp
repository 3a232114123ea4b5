#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "ghostdata/ghost_recording.h"
#include "presentation/end_of_turn_gap.h"
#include "presentation/gap_message.h"
#include "presentation/race_feedback.h"
#include "race/live_comparison.h"
#include "race/race_state.h"
#include "race/race_type.h"
#include "support/race_host.h"

namespace tarvek {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

TEST(RaceFeedback, FormatSeconds) {
    struct Case {
        int64_t frames;
        uint32_t perSecond;
        const char* text;
    };
    const Case cases[] = {
        {75, 50, "+1.50s"},  {-1, 50, "-0.02s"},  {0, 50, "0.00s"},          {49, 50, "+0.98s"},
        {51, 50, "+1.02s"},  {5, 0, "nan"},       {2, 3, "+0.67s"},          {1999, 1000, "+2.00s"},
        {kMin, 50, "-184467440737095516.16s"},    {kMax, 50, "+184467440737095516.14s"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatSeconds(c.frames, c.perSecond), c.text) << c.frames;
}

TEST(RaceFeedback, FeedbackLines) {
    struct Case {
        const char* label;
        bool enabled;
        int64_t gap;
        const char* text;
        uint32_t status;
    };
    const Case cases[] = {
        {"WR", true, 0, "WR 0.00s EVEN", 0},     {"WR", true, -75, "WR 1.50s AHEAD", 1},
        {"WR", true, 1, "WR 0.02s BEHIND", 2},   {"BLUE", true, 51, "BLUE 1.02s BEHIND", 2},
        {"BLUE", false, 51, "", 0},              {"", true, -5, "", 0},
    };
    for (const Case& c : cases) {
        const FeedbackLine line = formatFeedbackLine(c.label, c.enabled, c.gap);
        EXPECT_EQ(line.text, c.text);
        EXPECT_EQ(line.status, c.status) << c.text;
    }
}

TEST(EndOfTurnGapArithmetic, SegmentTurnGap) {
    struct Case {
        uint64_t ghostClock;
        int64_t delta;
        uint32_t segment;
        uint64_t turnFrames;
        uint64_t moving;
        int64_t gap;
    };
    const Case cases[] = {
        {100, 7, 0, 500, 50, 7},              // reached the segment end (49): the delta
        {40, -3, 0, 500, 50, 9},              // fell short of it: 49 − 40
        {1000, 0, 2, 500, 600, 499},          // a segment longer than the turn ends with the turn
        {0, 5, 0, 500, 0, 5},                 // a ghost that never moved ends at −1
        {0, 0, UINT32_MAX, UINT64_MAX / 2, 9, kMax},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(segmentTurnGap(c.ghostClock, c.delta, c.segment, c.turnFrames, c.moving), c.gap) << c.ghostClock;
    }
}

TEST(EndOfTurnGapArithmetic, RacedTimes) {
    GhostRecording ghost;
    ghost.segments = {{0, 100}, {100, 50}, {150, 30}};
    ghost.movementStart = {10, 50, 5};
    EXPECT_EQ(ghostRaceFrames(ghost, 0, true), 115u);  // 90 + 0 + 25
    EXPECT_EQ(ghostRaceFrames(ghost, 0, false), 90u);
    EXPECT_EQ(ghostRaceFrames(ghost, 1, false), std::nullopt);  // never moved in that segment
    EXPECT_EQ(ghostRaceFrames(ghost, 3, false), std::nullopt);
    EXPECT_EQ(ghostRaceFrames(GhostRecording{}, 0, true), std::nullopt);

    struct Case {
        uint64_t live;
        uint64_t ghost;
        std::optional<uint64_t> cap;
        int64_t gap;
    };
    const Case cases[] = {
        {100, 40, std::nullopt, 60}, {40, 100, std::nullopt, -60}, {700, 100, 500, 400}, {100, 900, 500, -400},
        {UINT64_MAX, 0, std::nullopt, kMax}, {0, UINT64_MAX, std::nullopt, kMin},
    };
    for (const Case& c : cases) EXPECT_EQ(racedTimeGap(c.live, c.ghost, c.cap), c.gap) << c.live << " " << c.ghost;
}

TEST(GapMessageBoard, ExpiresWithItsWorldOrAfterItsTime) {
    GapMessageBoard board;
    GapMessage shown;
    const uint64_t first = board.post("WR 0.36s AHEAD", 1, 0x100, 0x200, 1000);
    EXPECT_NE(first, 0u);
    EXPECT_FALSE(board.activeFor(0x100, 0x999, 1000, shown));  // another display: kept, not drawn
    ASSERT_TRUE(board.activeFor(0x100, 0x200, 4199, shown));
    EXPECT_EQ(shown.textView(), "WR 0.36s AHEAD");
    EXPECT_EQ(shown.sequence, first);
    EXPECT_FALSE(board.activeFor(0x100, 0x200, 4200, shown));  // 3200 ms
    EXPECT_FALSE(board.activeFor(0x100, 0x200, 1000, shown));  // dropped for good

    EXPECT_EQ(board.post("x", 0, 0x100, 0x200, 1000), first + 1);
    EXPECT_FALSE(board.activeFor(0x100, 0x200, 999, shown));  // a tick before the start
    board.post("x", 0, 0x100, 0x200, 1000);
    EXPECT_FALSE(board.activeFor(0x101, 0x200, 1000, shown));  // a new world
    EXPECT_FALSE(board.activeFor(0x100, 0x200, 1000, shown));
}

class EndOfTurnGapShow : public testing::RaceHostTest {
protected:
    EndOfTurnGapShow() { gapMessageBoard().setOverlayInstalled(true); }
    ~EndOfTurnGapShow() override { gapMessageBoard().setOverlayInstalled(false); }

    // A ghost of 100 frames that starts moving at frame 10.
    static GhostRecording ghostOf(uint32_t frames) {
        GhostRecording ghost;
        ghost.frames.resize(frames);
        ghost.segments = {{0, frames}};
        ghost.movementStart = {10};
        return ghost;
    }
    bool shownText(std::string& text) {
        GapMessage message;
        if (!gapMessageBoard().activeFor(kWorld, kDisplay, millisecondTick(), message)) return false;
        text = std::string(message.textView());
        status = message.status;
        return true;
    }
    static constexpr HostAddr kWorld = 0x5000, kDisplay = 0x6000;
    uint32_t status = 99;
};

TEST_F(EndOfTurnGapShow, TrickRaceComparesRacedTimesOncePerRace) {
    raceType().isTrickRace = true;
    goldGhost() = ghostOf(100);  // raced 90 frames
    blueGhost() = ghostOf(200);  // raced 190 frames
    raceState().raceFrames = 150;
    raceState().turnTimerColour = 2;
    showEndOfTurnGap(kWorld, kDisplay);
    std::string text;
    ASSERT_TRUE(shownText(text));
    EXPECT_EQ(text, "WR 1.20s BEHIND  |  BLUE 0.80s AHEAD");
    EXPECT_EQ(status, 2u);
    EXPECT_EQ(raceState().turnTimerColour, 0u);

    gapMessageBoard().drop();
    raceState().raceFrames = 10;
    showEndOfTurnGap(kWorld, kDisplay);  // a second race end in the same race
    EXPECT_FALSE(shownText(text));

    clearEndOfTurnGap();  // the next race
    goldGhost() = GhostRecording{};
    showEndOfTurnGap(kWorld, kDisplay);
    ASSERT_TRUE(shownText(text));
    EXPECT_EQ(text, "BLUE 3.60s AHEAD");  // the blue line alone, with its status
    EXPECT_EQ(status, 1u);
}

TEST_F(EndOfTurnGapShow, NothingIsPostedWithoutARaceKindDisplayOrOverlay) {
    goldGhost() = ghostOf(100);
    raceState().raceFrames = 150;
    std::string text;
    showEndOfTurnGap(kWorld, kDisplay);  // plain TTRR
    EXPECT_FALSE(shownText(text));

    raceType().isTrickRace = true;
    showEndOfTurnGap(kWorld, 0);
    gapMessageBoard().setOverlayInstalled(false);
    showEndOfTurnGap(kWorld, kDisplay);
    EXPECT_FALSE(shownText(text));

    gapMessageBoard().setOverlayInstalled(true);  // nothing was shown, so the gap still may be
    showEndOfTurnGap(kWorld, kDisplay);
    EXPECT_TRUE(shownText(text));
}

TEST_F(EndOfTurnGapShow, BigRRTurnNeedsABoundedSegmentMatchedThisTurn) {
    raceType().isBigRR = true;
    raceType().turnTime = 10;  // 500-frame turns
    goldGhost() = ghostOf(100);
    blueGhost() = ghostOf(100);
    for (size_t slot : {kGoldSlot, kBlueSlot}) {
        slotComparison(slot).state.ghostClock = 60;  // short of the segment end at 89
        slotComparison(slot).matchedThisTurn = true;
    }
    slotComparison(kGoldSlot).bound.segmentBounded = true;
    showEndOfTurnGap(kWorld, kDisplay);
    std::string text;
    ASSERT_TRUE(shownText(text));
    EXPECT_EQ(text, "WR 0.58s BEHIND");
}

}  // namespace
}  // namespace tarvek
