#pragma once
// Where on a ghost's path is the live worm now, and is it ahead of or behind the ghost there.
// The search is bounded by windows around the last match, never a scan of the whole path.
#include <cstdint>
#include <vector>

#include "race/ghost_path.h"

namespace tarvek {

namespace race_status {
constexpr uint32_t kEven = 0;
constexpr uint32_t kAhead = 1;
constexpr uint32_t kBehind = 2;
}  // namespace race_status

struct ComparisonState {
    uint32_t startIndex = 0;
    double position = 0;
    bool hasMatch = false;
    bool matchedLastCall = false;
    uint64_t lastLiveClock = 0;
    int32_t matchedIndex = 0;
    uint64_t ghostClock = 0;
    int64_t delta = 0;
    uint32_t status = race_status::kEven;
};

struct ComparisonParams {
    uint32_t continuityWindow = 12;
    uint32_t firstBackWindow = 250;
    uint32_t firstForwardWindow = 250;
    uint32_t backWindow = 250;
    uint32_t forwardWindow = 250;
    uint32_t maxDistancePixels = 48;
    uint32_t evenThresholdFrames = 3;
};

struct ComparisonResult {
    bool matched = false;
    int32_t matchedIndex = 0;
    uint64_t ghostClock = 0;
    int64_t delta = 0;
    uint32_t status = race_status::kEven;
};

struct LivePosition {
    int32_t x = 0;
    int32_t y = 0;
};

// One comparison of the live position and clock against the first sampleLimit samples.
void compare(ComparisonResult& result, ComparisonState& state, const std::vector<PathSample>& path,
             uint32_t sampleLimit, LivePosition live, uint64_t liveClock, const ComparisonParams& params);

// Index of the first sample (below sampleLimit) whose clock is not below startClock; the last
// sample when every clock is below it, 0 for an empty path.
uint32_t firstSampleAtClock(const std::vector<PathSample>& path, uint32_t sampleLimit, uint64_t startClock);

// The next status for delta (live clock − ghost clock), with hysteresis around even.
uint32_t nextStatus(uint32_t previous, int64_t delta, uint32_t evenThreshold);

// live − ghost as a signed value, saturating at the 64-bit signed limits.
int64_t clockDifference(uint64_t live, uint64_t ghost);

}  // namespace tarvek
