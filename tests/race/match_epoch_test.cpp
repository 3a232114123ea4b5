#include <gtest/gtest.h>

#include "race/match_epoch.h"

namespace tarvek {
namespace {

using namespace epoch_reason;

// One tracker through a sequence of frames: unknown (zero) values are adopted silently, a frame
// counter that goes back is a restart, and a new world reports the world alone.
TEST(MatchEpoch, ReasonsOfEachObservation) {
    const struct {
        HostAddr world, landscape;
        uint32_t width, height;
        int32_t frame;
        uint32_t reasons;
    } rows[] = {
        {0x1000, 0, 0, 0, 0, kFirstObservation},       {0x1000, 0, 0, 0, 1, 0},
        {0x2000, 0, 0, 0, 0, kWorld},                   {0x2000, 0x5000, 1920, 696, 2, 0},
        {0x2000, 0, 0, 0, 3, 0},                        {0x2000, 0x6000, 1920, 696, 4, kLandscape},
        {0x2000, 0x6000, 2000, 696, 5, kMapDimensions}, {0x2000, 0x6000, 2000, 696, 5, 0},
        {0x2000, 0x6000, 2000, 696, 4, kFrameRestart},  {0x2000, 0x7000, 2000, 696, 3, kLandscape | kFrameRestart},
    };
    MatchEpochTracker tracker;
    for (const auto& row : rows)
        EXPECT_EQ(detectMatchEpochChange(tracker, row.world, row.landscape, row.width, row.height, row.frame),
                  row.reasons)
            << row.frame;
    EXPECT_EQ(describeEpochReasons(kWorld | kMapDimensions), "world allocation, map dimensions");
}

}  // namespace
}  // namespace tarvek
