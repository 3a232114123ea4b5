#include "race/ghost_path.h"

#include <algorithm>

#include "host/text.h"

namespace tarvek {

namespace {

void appendSegment(GhostPath& path, const GhostRecording& recording, uint32_t segment, uint64_t offset,
                   uint64_t segmentLength) {
    const TurnSegment& range = recording.segments[segment];
    if (uint64_t{range.firstFrame} + range.frameCount > recording.frames.size()) return;
    const uint32_t start = segment < recording.movementStart.size() ? recording.movementStart[segment] : 0;
    const uint32_t skipped = std::min(range.frameCount, start);
    const uint32_t count = range.frameCount - skipped;
    if (count == 0) return;

    path.segmentRanges[segment] = PathSegmentRange{static_cast<uint32_t>(path.samples.size()),
                                                   static_cast<uint32_t>(path.samples.size() + count - 1)};
    for (uint32_t k = 0; k < count; ++k) {
        const GhostFrame& frame = recording.frames[range.firstFrame + skipped + k];
        const uint64_t step = segmentLength > 0 ? std::min<uint64_t>(k, segmentLength - 1) : k;
        PathSample sample;
        sample.x = frame.positionX();
        sample.y = frame.positionY();
        sample.breakBefore = (k == 0 && !path.samples.empty()) ? 1 : 0;
        sample.clock = saturatingAdd64(offset, step);
        path.samples.push_back(sample);
    }
}

uint64_t saturatingMultiply(uint64_t a, uint64_t b) {
    if (a != 0 && b > UINT64_MAX / a) return UINT64_MAX;
    return a * b;
}

}  // namespace

void buildGhostPath(GhostPath& path, const GhostRecording& recording, uint32_t segmentIndex, bool segmentMode,
                    uint64_t segmentLength) {
    // In segment mode every segment is in the path, so the current one does not change it.
    const GhostPathKey key{recording.frames.data(), recording.frames.size(), segmentMode ? 0 : segmentIndex,
                           segmentMode, segmentLength};
    if (path.built && path.key == key) return;

    path.samples.clear();
    path.samples.reserve(recording.frames.size());
    path.segmentRanges.assign(recording.segments.size(), PathSegmentRange{});
    if (segmentMode) {
        for (uint32_t s = 0; s < recording.segments.size(); ++s) {
            const uint64_t offset = segmentLength > 0 ? saturatingMultiply(s, segmentLength) : path.samples.size();
            appendSegment(path, recording, s, offset, segmentLength);
        }
    } else if (segmentIndex < recording.segments.size()) {
        appendSegment(path, recording, segmentIndex, saturatingMultiply(segmentIndex, segmentLength), segmentLength);
    }
    path.key = key;
    path.built = true;
}

}  // namespace tarvek
