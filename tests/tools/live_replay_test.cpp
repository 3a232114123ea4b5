#include <gtest/gtest.h>

#include "tools/support/live_replay.h"
#include "support/race_host.h"

namespace tarvek::tools {
namespace {

using testing::recordingFromPaths;
using testing::straightRun;

TEST(LiveReplay, ASlowerRunFallsBehindAndTheSummarySaysWhere) {
    // The run stalls for 20 frames in the middle of the course.
    auto slow = straightRun(1, 50, 0, 0, 1);
    for (int i = 0; i < 20; ++i) slow.push_back(slow.back());
    const auto rest = straightRun(0, 50, 50, 0, 1);
    slow.insert(slow.end(), rest.begin(), rest.end());
    const GhostRecording reference = recordingFromPaths({straightRun(1, 100, 0, 0, 1)});
    const auto rows = replayAgainstGhost(recordingFromPaths({slow}), reference, ReplayOptions{});
    const ReplaySummary summary = summarizeReplay(rows);
    ASSERT_TRUE(summary.anyMatch);
    EXPECT_EQ(summary.finalDelta, 20);
    EXPECT_EQ(summary.finalStatus, 2u);
    EXPECT_GT(summary.framesBehind, 50u);
    EXPECT_EQ(summary.largestLoss, 1);
    EXPECT_EQ(summary.largestGain, 0);
    EXPECT_NE(formatReplaySummary(summary).find("final delta: +20 frames (+0.40s) BEHIND"), std::string::npos);
}

TEST(LiveReplay, BigRRPlaysEachSegmentAsATurnWithTurnClocks) {
    const GhostRecording run = recordingFromPaths({straightRun(2, 30, 0, 0, 1), straightRun(3, 30, 0, 0, 1)});
    const auto rows = replayAgainstGhost(run, run, ReplayOptions{ReplayRace::BigRR, fittingTurnTime(run, run)});
    ASSERT_EQ(rows.size(), 60u);
    EXPECT_EQ(rows[30].frame, 32u + 3u);
    EXPECT_EQ(rows[30].liveClock, 50u);  // segment 1 × 1 s × 50
    EXPECT_EQ(rows[30].ghostClock, 50u);
    for (const ReplayFrame& row : rows) {
        EXPECT_TRUE(row.matched);
        EXPECT_EQ(row.delta, 0);
    }
    EXPECT_EQ(summarizeReplay(rows).framesEven, 60u);
}

TEST(LiveReplay, TurnTimeFitsTheLongestSegment) {
    const GhostRecording shortRun = recordingFromPaths({straightRun(1, 49, 0, 0, 1)});
    const GhostRecording longRun = recordingFromPaths({straightRun(1, 50, 0, 0, 1)});
    EXPECT_EQ(fittingTurnTime(shortRun, shortRun), 1u);
    EXPECT_EQ(fittingTurnTime(shortRun, longRun), 2u);
    const GhostRecording huge = recordingFromPaths({straightRun(1, 9000, 0, 0, 1)});
    EXPECT_EQ(fittingTurnTime(huge, huge), 127u);
}

TEST(LiveReplay, NoMatchIsReportedAsSuch) {
    const GhostRecording far = recordingFromPaths({straightRun(1, 30, 5000, 5000, 1)});
    const GhostRecording run = recordingFromPaths({straightRun(1, 30, 0, 0, 1)});
    const auto rows = replayAgainstGhost(run, far, ReplayOptions{});
    ASSERT_EQ(rows.size(), 30u);
    const ReplaySummary summary = summarizeReplay(rows);
    EXPECT_FALSE(summary.anyMatch);
    EXPECT_NE(formatReplaySummary(summary).find("no match"), std::string::npos);
}

}  // namespace
}  // namespace tarvek::tools
