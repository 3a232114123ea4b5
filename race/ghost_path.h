#pragma once
// A ghost's recorded path: one sample per ghost frame from each segment's movement start on,
// with the ghost clock at which the ghost was there.
#include <cstdint>
#include <vector>

#include "ghostdata/ghost_recording.h"

namespace tarvek {

inline constexpr uint64_t kMissingClock = UINT64_MAX;

struct PathSample {
    int32_t x = 0;
    int32_t y = 0;
    uint8_t breakBefore = 0;  // starts a segment and is not joined to the previous sample
    uint64_t clock = 0;       // kMissingClock: the sample's index stands in for it
};

// The sample index range [first, last] a segment occupies in the path (empty when first > last).
struct PathSegmentRange {
    uint32_t first = 1;
    uint32_t last = 0;
    bool empty() const { return first > last; }
};

struct GhostPathKey {
    const GhostFrame* frames = nullptr;
    size_t frameCount = 0;
    uint32_t segmentIndex = 0;
    bool segmentMode = false;
    uint64_t segmentLength = 0;
    bool operator==(const GhostPathKey&) const = default;
};

struct GhostPath {
    std::vector<PathSample> samples;
    std::vector<PathSegmentRange> segmentRanges;  // per recording segment
    GhostPathKey key;
    bool built = false;

    void clear() { *this = GhostPath{}; }
};

// The clock a sample counts with: its own, or its index when the clock is missing.
inline uint64_t effectiveClock(const std::vector<PathSample>& samples, size_t index) {
    return samples[index].clock == kMissingClock ? index : samples[index].clock;
}

// (Re)builds path from recording unless its cache key is unchanged. In segment mode every
// segment is appended, otherwise only segmentIndex. segmentLength is turnTime × 50 in BigRR.
void buildGhostPath(GhostPath& path, const GhostRecording& recording, uint32_t segmentIndex, bool segmentMode,
                    uint64_t segmentLength);

}  // namespace tarvek
