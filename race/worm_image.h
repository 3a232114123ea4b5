#pragma once
// The worm image the drawing pass hands to the host's worm drawing routine: the live worm's
// leading bytes with the ghost frame's three recorded state blocks written over them.
#include <array>
#include <cstdint>
#include <cstring>

#include "ghostdata/ghost_recording.h"
#include "host/host_layout.h"

namespace tarvek {

using WormImage = std::array<uint8_t, host_layout::worm_image::kSize>;
using LiveWormBytes = std::array<uint8_t, host_layout::worm_image::kLiveWormBytes>;

void buildWormImage(const LiveWormBytes& live, const GhostFrame& frame, WormImage& image);

inline uint32_t imageWord(const WormImage& image, uint32_t offset) {
    uint32_t value;
    std::memcpy(&value, image.data() + offset, 4);
    return value;
}
inline void setImageWord(WormImage& image, uint32_t offset, uint32_t value) {
    std::memcpy(image.data() + offset, &value, 4);
}

}  // namespace tarvek
