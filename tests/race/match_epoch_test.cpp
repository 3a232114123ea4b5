#include <gtest/gtest.h>

#include "race/match_epoch.h"

namespace tarvek {
namespace {

using namespace epoch_reason;

TEST(MatchEpoch, FirstObservationThenNewWorld) {
    MatchEpochTracker tracker;
    EXPECT_EQ(detectMatchEpochChange(tracker, 0x1000, 0, 0, 0, 0), kFirstObservation);
    EXPECT_EQ(detectMatchEpochChange(tracker, 0x1000, 0, 0, 0, 1), 0u);
    // A new world with a frame counter that went back reports the world alone.
    EXPECT_EQ(detectMatchEpochChange(tracker, 0x2000, 0, 0, 0, 0), kWorld);
    EXPECT_EQ(tracker.world, 0x2000u);
}

TEST(MatchEpoch, UnknownValuesAreAdoptedSilently) {
    MatchEpochTracker tracker;
    detectMatchEpochChange(tracker, 0x1000, 0, 0, 0, 1);
    EXPECT_EQ(detectMatchEpochChange(tracker, 0x1000, 0x5000, 1920, 696, 2), 0u);
    EXPECT_EQ(tracker.landscape, 0x5000u);
    EXPECT_EQ(tracker.mapWidth, 1920u);
    EXPECT_EQ(detectMatchEpochChange(tracker, 0x1000, 0, 0, 0, 3), 0u);  // zeros change nothing
    EXPECT_EQ(tracker.landscape, 0x5000u);
    EXPECT_EQ(detectMatchEpochChange(tracker, 0x1000, 0x6000, 1920, 696, 4), kLandscape);
    EXPECT_EQ(detectMatchEpochChange(tracker, 0x1000, 0x6000, 2000, 696, 5), kMapDimensions);
}

TEST(MatchEpoch, FrameRestartOnlyWhenTheCounterGoesBack) {
    MatchEpochTracker tracker;
    detectMatchEpochChange(tracker, 0x1000, 0, 0, 0, 10);
    EXPECT_EQ(detectMatchEpochChange(tracker, 0x1000, 0, 0, 0, 10), 0u);
    EXPECT_EQ(detectMatchEpochChange(tracker, 0x1000, 0, 0, 0, 9), kFrameRestart);
    EXPECT_EQ(tracker.lastFrame, 9);
}

TEST(MatchEpoch, ReasonTextsInBitOrder) {
    MatchEpochTracker tracker;
    detectMatchEpochChange(tracker, 0x1000, 0x5000, 10, 10, 10);
    const uint32_t reasons = detectMatchEpochChange(tracker, 0x1000, 0x6000, 10, 10, 3);
    EXPECT_EQ(reasons, kLandscape | kFrameRestart);
    EXPECT_EQ(describeEpochReasons(reasons), "landscape allocation, frame restart");
    EXPECT_EQ(describeEpochReasons(kWorld | kMapDimensions), "world allocation, map dimensions");
}

}  // namespace
}  // namespace tarvek
