#include "race/worm_image.h"

#include <algorithm>

namespace tarvek {
namespace {

struct StateBlock {
    uint32_t recordFirst;
    uint32_t recordEnd;  // exclusive
    uint32_t imageFirst;
};

// Record bytes [recordFirst, recordEnd) land at imageFirst.
constexpr StateBlock kStateBlocks[] = {{4, 168, 56}, {168, 788, 252}, {788, 928, 880}};

}  // namespace

void buildWormImage(const LiveWormBytes& live, const GhostFrame& frame, WormImage& image) {
    std::copy(live.begin(), live.end(), image.begin());
    for (const StateBlock& block : kStateBlocks)
        std::copy(frame.bytes.begin() + block.recordFirst, frame.bytes.begin() + block.recordEnd,
                  image.begin() + block.imageFirst);
}

}  // namespace tarvek
