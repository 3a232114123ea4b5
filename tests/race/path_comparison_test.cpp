#include <gtest/gtest.h>

#include "race/ghost_path.h"
#include "race/path_comparison.h"
#include "sim/sim_worm.h"
#include "support/race_host.h"

namespace tarvek {
namespace {

using sim::fixedPixels;
using testing::recordingFromPaths;
using testing::straightRun;

std::vector<PathSample> line(uint32_t count, int32_t stepPixels = 1) {
    std::vector<PathSample> path;
    for (uint32_t i = 0; i < count; ++i) {
        path.push_back(PathSample{fixedPixels(static_cast<int32_t>(i) * stepPixels), 0, 0, i});
    }
    return path;
}

LivePosition at(double xPixels, double yPixels) {
    return LivePosition{static_cast<int32_t>(xPixels * 65536), static_cast<int32_t>(yPixels * 65536)};
}

TEST(GhostPathBuild, SkipsTheStillStartAndCapsClocksAtTheTurnLength) {
    const GhostRecording ghost = recordingFromPaths({straightRun(3, 5, 0, 0, 1), straightRun(2, 4, 50, 0, 1)});
    GhostPath path;
    buildGhostPath(path, ghost, 0, true, 3);
    // Movement start is the first frame that differs: the last still frame is not part of the path.
    ASSERT_EQ(path.samples.size(), 5u + 4u);
    EXPECT_EQ(path.samples[0].x, fixedPixels(1));
    EXPECT_EQ(path.samples[0].clock, 0u);
    EXPECT_EQ(path.samples[2].clock, 2u);
    EXPECT_EQ(path.samples[4].clock, 2u);  // beyond the turn: held at L - 1
    EXPECT_EQ(path.samples[5].clock, 3u);  // segment 1 starts at 1 × L
    EXPECT_TRUE(path.samples[5].breakBefore);
    EXPECT_FALSE(path.samples[4].breakBefore);
    EXPECT_EQ(path.segmentRanges[1].first, 5u);
    EXPECT_EQ(path.segmentRanges[1].last, 8u);
}

TEST(GhostPathBuild, ContinuesClocksWithoutTurnLengthAndRebuildsOnlyWhenTheKeyChanges) {
    GhostRecording ghost = recordingFromPaths({straightRun(1, 3, 0, 0, 1), straightRun(1, 2, 9, 0, 1)});
    GhostPath path;
    buildGhostPath(path, ghost, 0, true, 0);
    ASSERT_EQ(path.samples.size(), 5u);
    EXPECT_EQ(path.samples[3].clock, 3u);  // offset = samples already in the path
    EXPECT_EQ(path.samples[4].clock, 4u);

    path.samples[0].x = 12345;  // a cached path is not rebuilt for the same key
    buildGhostPath(path, ghost, 0, true, 0);
    EXPECT_EQ(path.samples[0].x, 12345);
    buildGhostPath(path, ghost, 1, false, 0);  // only the current segment outside segment mode
    ASSERT_EQ(path.samples.size(), 2u);
    EXPECT_EQ(path.samples[0].x, fixedPixels(10));
    EXPECT_FALSE(path.samples[0].breakBefore);
}

TEST(GhostPathBuild, SkipsASegmentThatDoesNotLieInsideTheFrames) {
    GhostRecording ghost = recordingFromPaths({straightRun(1, 3, 0, 0, 1)});
    ghost.segments.push_back(TurnSegment{3, 10});
    ghost.movementStart.push_back(0);
    GhostPath path;
    buildGhostPath(path, ghost, 0, true, 0);
    EXPECT_EQ(path.samples.size(), 3u);
    EXPECT_TRUE(path.segmentRanges[1].empty());
}

TEST(PathComparison, MatchesByProjectionAndRoundsPositionAndClock) {
    const auto path = line(100);
    ComparisonState state;
    state.startIndex = 10;
    ComparisonResult result;
    compare(result, state, path, 100, at(12.6, 3), 20, ComparisonParams{});
    ASSERT_TRUE(result.matched);
    EXPECT_EQ(result.matchedIndex, 13);
    EXPECT_EQ(result.ghostClock, 13u);
    EXPECT_EQ(result.delta, 7);
    EXPECT_EQ(result.status, race_status::kBehind);
    EXPECT_NEAR(state.position, 12.6, 1e-4);
    EXPECT_TRUE(state.matchedLastCall);
}

TEST(PathComparison, FarFromEveryAllowedPointKeepsTheOldState) {
    const auto path = line(100);
    ComparisonState state;
    ComparisonResult result;
    compare(result, state, path, 100, at(5, 0), 5, ComparisonParams{});
    ASSERT_TRUE(result.matched);
    const ComparisonState before = state;
    compare(result, state, path, 100, at(6, 48.5), 6, ComparisonParams{});
    EXPECT_FALSE(result.matched);
    EXPECT_FALSE(state.matchedLastCall);
    EXPECT_EQ(state.status, before.status);
    EXPECT_EQ(state.matchedIndex, before.matchedIndex);
    compare(result, state, path, 100, at(6, 48), 6, ComparisonParams{});  // exactly 48 pixels is allowed
    EXPECT_TRUE(result.matched);
}

TEST(PathComparison, SearchStaysInsideTheContinuityWindow) {
    const auto path = line(1000);
    ComparisonState state;
    ComparisonResult result;
    compare(result, state, path, 1000, at(100, 0), 100, ComparisonParams{});
    ASSERT_EQ(result.matchedIndex, 100);
    // One frame later the worm appears 30 samples ahead: only 100..101+12 may be searched.
    compare(result, state, path, 1000, at(130, 0), 101, ComparisonParams{});
    ASSERT_TRUE(result.matched);
    EXPECT_EQ(result.matchedIndex, 113);
    // Up to 12 frames after a match the continuity window holds; at 13 the wide windows apply.
    for (const auto& [clock, index] : {std::pair{113, 137}, std::pair{114, 140}}) {
        ComparisonState later = state;
        compare(result, later, path, 1000, at(140, 0), clock, ComparisonParams{});
        EXPECT_EQ(result.matchedIndex, index) << clock;
    }
    // Never backwards from the last match, whatever the live position.
    compare(result, state, path, 1000, at(83, 0), 102, ComparisonParams{});
    ASSERT_TRUE(result.matched);
    EXPECT_EQ(result.matchedIndex, 113);
}

TEST(PathComparison, AfterAMissTheWideWindowsAroundThePredictionApply) {
    const auto path = line(2000);
    ComparisonState state;
    ComparisonResult result;
    compare(result, state, path, 2000, at(100, 0), 100, ComparisonParams{});
    compare(result, state, path, 2000, at(0, 500), 101, ComparisonParams{});  // miss
    ASSERT_FALSE(result.matched);
    // Predicted 100 + 2 = 102: the window reaches 352, not 400.
    compare(result, state, path, 2000, at(400, 0), 102, ComparisonParams{});
    ASSERT_TRUE(result.matched);
    EXPECT_EQ(result.matchedIndex, 352);
}

TEST(PathComparison, FirstSearchIsCentredOnTheStartIndex) {
    const auto path = line(2000);
    ComparisonState state;
    state.startIndex = 1000;
    state.position = 1000;
    ComparisonResult result;
    compare(result, state, path, 2000, at(720, 0), 0, ComparisonParams{});
    EXPECT_EQ(result.matchedIndex, 750);
    state = ComparisonState{};
    state.startIndex = 5000;  // beyond the limit: centred on the last sample
    compare(result, state, path, 1500, at(1499, 0), 0, ComparisonParams{});
    EXPECT_EQ(result.matchedIndex, 1499);
}

TEST(PathComparison, StatusHysteresis) {
    using namespace race_status;
    const int64_t rows[][3] = {{kEven, 3, kEven},   {kEven, -3, kEven},    {kEven, 4, kBehind},  {kEven, -4, kAhead},
                                {kAhead, 0, kEven},  {kAhead, -1, kAhead},  {kAhead, 3, kEven},   {kAhead, 4, kBehind},
                                {kBehind, 0, kEven}, {kBehind, 1, kBehind}, {kBehind, -3, kEven}, {kBehind, -4, kAhead}};
    for (const auto& [from, delta, to] : rows)
        EXPECT_EQ(nextStatus(static_cast<uint32_t>(from), delta, 3), static_cast<uint32_t>(to)) << from << " " << delta;
}

TEST(PathComparison, EqualDistanceTiesGoToTheCloserClockThenTheLowerPosition) {
    // The path passes the same point twice (out and back); the live clock decides.
    std::vector<PathSample> path = {{fixedPixels(0), 0, 0, 0}, {fixedPixels(10), 0, 0, 10},
                                    {fixedPixels(0), 0, 0, 20}};
    ComparisonState state;
    ComparisonResult result;
    compare(result, state, path, 3, at(5, 0), 14, ComparisonParams{});
    EXPECT_EQ(result.ghostClock, 15u);
    state = ComparisonState{};
    compare(result, state, path, 3, at(5, 0), 6, ComparisonParams{});
    EXPECT_EQ(result.ghostClock, 5u);
    state = ComparisonState{};
    compare(result, state, path, 3, at(5, 0), 10, ComparisonParams{});  // equal clock gaps
    EXPECT_EQ(result.matchedIndex, 1);
    EXPECT_NEAR(state.position, 0.5, 1e-9);
}

TEST(PathComparison, BreakBetweenSegmentsOffersOnlyTheSamples) {
    std::vector<PathSample> path = {{fixedPixels(0), 0, 0, 0}, {fixedPixels(40), 0, 1, 50}};
    ComparisonState state;
    ComparisonResult result;
    compare(result, state, path, 2, at(20, 0), 0, ComparisonParams{});
    ASSERT_TRUE(result.matched);  // 20 px from both samples, no point in between
    EXPECT_EQ(result.matchedIndex, 0);
    EXPECT_EQ(result.ghostClock, 0u);
    state = ComparisonState{};
    compare(result, state, path, 2, at(21, 0), 50, ComparisonParams{});
    EXPECT_EQ(result.matchedIndex, 1);
    EXPECT_EQ(result.ghostClock, 50u);
}

TEST(PathComparison, MissingClocksCountWithTheirIndex) {
    auto path = line(10);
    for (auto& sample : path) sample.clock = kMissingClock;
    ComparisonState state;
    ComparisonResult result;
    compare(result, state, path, 10, at(6, 0), 6, ComparisonParams{});
    EXPECT_EQ(result.ghostClock, 6u);
    EXPECT_EQ(result.delta, 0);
    EXPECT_EQ(firstSampleAtClock(path, 10, 4), 4u);
}

TEST(PathComparison, SingleSampleAndEmptyLimits) {
    const auto path = line(5);
    ComparisonState state;
    ComparisonResult result;
    compare(result, state, path, 0, at(0, 0), 0, ComparisonParams{});
    EXPECT_FALSE(result.matched);
    compare(result, state, path, 1, at(3, 0), 9, ComparisonParams{});
    ASSERT_TRUE(result.matched);
    EXPECT_EQ(result.matchedIndex, 0);
    EXPECT_EQ(result.delta, 9);
}

TEST(PathComparison, StartIndexByBinarySearchOverClocks) {
    std::vector<PathSample> path = line(6);
    path[3].clock = path[4].clock = 10;
    path[5].clock = 20;
    EXPECT_EQ(firstSampleAtClock(path, 6, 0), 0u);
    EXPECT_EQ(firstSampleAtClock(path, 6, 3), 3u);
    EXPECT_EQ(firstSampleAtClock(path, 6, 11), 5u);
    EXPECT_EQ(firstSampleAtClock(path, 6, 21), 5u);  // all below: the last sample
    EXPECT_EQ(firstSampleAtClock(path, 4, 21), 3u);  // within the limit only
    EXPECT_EQ(firstSampleAtClock({}, 0, 5), 0u);
}

}  // namespace
}  // namespace tarvek
