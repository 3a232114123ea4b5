#pragma once
// The ghost every fuzzed tail is read against, shared by the tail fuzz target and the seed
// corpus generator: frames in segments 0, 0, 0, 1, 2, 2 and a fixed stand-in for its file digest.
#include <vector>

#include "ghostdata/ghost_format.h"
#include "ghostdata/sha256.h"

namespace tarvek::fuzzing {

inline std::vector<GhostFrame> tailGhostFrames() {
    const uint32_t segments[] = {0, 0, 0, 1, 2, 2};
    std::vector<GhostFrame> frames;
    for (uint32_t i = 0; i < std::size(segments); ++i) {
        GhostFrame frame;
        frame.bytes.fill(static_cast<uint8_t>(0x30 + i));
        frame.setWord(GhostFrame::kSegmentIndex, segments[i]);
        frame.setWord(GhostFrame::kPositionX, i << 16);
        frames.push_back(frame);
    }
    return frames;
}

inline Sha256Digest tailGhostDigest() { return sha256("fuzzed ghost", 12); }

}  // namespace tarvek::fuzzing
