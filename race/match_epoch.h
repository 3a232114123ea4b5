#pragma once
// Match epochs: a new world, a new landscape, new map dimensions or a frame counter that goes
// backwards starts the match over, and every per-match state is invalidated.
#include <cstdint>
#include <string>

#include "host/host_memory.h"

namespace tarvek {

namespace epoch_reason {
constexpr uint32_t kFirstObservation = 1;
constexpr uint32_t kWorld = 2;
constexpr uint32_t kLandscape = 4;
constexpr uint32_t kMapDimensions = 8;
constexpr uint32_t kFrameRestart = 16;
}  // namespace epoch_reason

struct MatchEpochTracker {
    bool valid = false;
    HostAddr world = 0;
    HostAddr landscape = 0;
    uint32_t mapWidth = 0;
    uint32_t mapHeight = 0;
    int32_t lastFrame = -1;
};

// Returns the reason bits (0 = same epoch) and updates the tracker.
uint32_t detectMatchEpochChange(MatchEpochTracker& tracker, HostAddr world, HostAddr landscape, uint32_t mapWidth,
                                uint32_t mapHeight, int32_t frame);

// "world allocation, frame restart" style list of the reasons set, in bit order.
std::string describeEpochReasons(uint32_t reasons);

}  // namespace tarvek
