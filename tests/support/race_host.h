#pragma once
// The race engine on a fresh simulated host, and ghost recordings built in memory.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "ghostdata/ghost_recording.h"
#include "sim/sim_host.h"
#include "sim/sim_worm.h"

namespace tarvek::testing {

using PixelPath = std::vector<std::pair<int32_t, int32_t>>;

// still frames at (x, y), then moving frames stepping stepX pixels each.
PixelPath straightRun(uint32_t still, uint32_t moving, int32_t x, int32_t y, int32_t stepX);

// A recording with one segment per path, positions in whole pixels, segment tables built.
GhostRecording recordingFromPaths(const std::vector<PixelPath>& segments);

// Worm script frames for a path in whole pixels.
std::vector<sim::WormFrame> activeFrames(const PixelPath& path, uint32_t state = 0);
std::vector<sim::WormFrame> inactiveFrames(uint32_t count, int32_t x, int32_t y);
std::vector<sim::WormFrame> concat(std::vector<std::vector<sim::WormFrame>> parts);

class RaceHostTest : public ::testing::Test {
protected:
    RaceHostTest();
    ~RaceHostTest() override;

    // Scheme byte: positive seconds for BigRR, 0 for TTRR.
    void useScheme(int8_t turnTimeByte) { host.setSchemeTurnTime(turnTimeByte); }

    sim::SimHost host;
    sim::SimWorld world{host.space()};
    sim::SimGame game{host, world};
};

}  // namespace tarvek::testing
