// The tail reader on arbitrary bytes against a fixed loaded ghost: no crash, and a tail is either
// used whole with its frames in their segments or not at all.
#include <cstdlib>
#include <sstream>
#include <string>

#include "fuzz_tail_ghost.h"
#include "ghostdata/visual_tail.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarvek;
    static const std::vector<GhostFrame> frames = [] {
        auto loaded = fuzzing::tailGhostFrames();
        for (GhostFrame& frame : loaded) sanitizeGhostFrame(frame);
        return loaded;
    }();
    static const std::vector<TurnSegment> segments = buildTurnSegments(frames);

    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    TailContents out;
    const TailRejection result = readVisualTail(
        in, [] { return std::optional<Sha256Digest>(fuzzing::tailGhostDigest()); }, frames, segments, out);
    if (result != TailRejection::None) {
        if (!out.tails.empty()) std::abort();
        return 0;
    }
    uint64_t total = 0;
    if (out.tails.size() != segments.size()) std::abort();
    for (size_t s = 0; s < out.tails.size(); ++s)
        for (const GhostFrame& frame : out.tails[s]) {
            if (frame.segmentIndex() != s) std::abort();
            ++total;
        }
    if (total != out.tailFrames) std::abort();
    return 0;
}
