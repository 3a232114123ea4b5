#pragma once
// The host's bitmap objects and the landscape fields that point to them, read through the
// guarded host memory.
#include <cstdint>
#include <optional>

#include "host/host_layout.h"
#include "host/host_memory.h"

namespace tarvek {

namespace hostfield {
constexpr uint32_t kWorldLandscape = host_layout::world::kLandscape;
constexpr uint32_t kWorldSetupData = host_layout::world::kGameState;
constexpr uint32_t kWorldFrameCounter = host_layout::world::kFrameCounter;
constexpr uint32_t kWorldMapWidth = host_layout::world::kMapWidth;
constexpr uint32_t kWorldMapHeight = host_layout::world::kMapHeight;
constexpr uint32_t kLandscapeWorld = 0x4;
constexpr uint32_t kLandscapeTerrain = 0x910;
constexpr uint32_t kLandscapeCollisionMask = 0x914;
constexpr uint32_t kSetupNoBorders = 0xD94B;
}  // namespace hostfield

struct HostBitmap {
    HostAddr pixels = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t stride = 0;
    uint32_t width = 0;
    uint32_t height = 0;
};

// The 28-byte bitmap object at addr (pixels at +0x8, depth +0xC, stride +0x10, size +0x14/+0x18).
std::optional<HostBitmap> readHostBitmap(const HostMemory& memory, HostAddr object);

}  // namespace tarvek
