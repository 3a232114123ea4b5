// The ghost reader on arbitrary bytes: no crash, no allocation beyond what the header allows,
// and every accepted file yields consistent segment tables.
#include <cstdlib>
#include <sstream>
#include <string>

#include "ghostdata/ghost_format.h"
#include "ghostdata/ghost_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarvek;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<GhostFrame> frames;
    if (!readGhostFrames(in, frames)) return 0;
    const auto segments = buildTurnSegments(frames);
    const auto starts = buildMovementStarts(frames, segments);
    uint64_t total = 0;
    for (size_t i = 0; i < segments.size(); ++i) {
        total += segments[i].frameCount;
        if (starts[i] > segments[i].frameCount) std::abort();
    }
    if (total != frames.size() || size != expectedGhostFileSize(static_cast<uint32_t>(frames.size())))
        std::abort();
    return 0;
}
