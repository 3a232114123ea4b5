#pragma once
// The 32 crown sprites: the crown template turned in steps of 1/32 of a turn and scaled,
// mapped to palette indices (0 = transparent), 32 × 32 bytes each, row-major.
#include <array>
#include <cstddef>
#include <cstdint>

#include "presentation/palette.h"

namespace tarvek {

inline constexpr uint32_t kCrownSpriteCount = 32;
inline constexpr uint32_t kCrownSpriteSide = 32;
inline constexpr size_t kCrownSpriteBytes = kCrownSpriteSide * kCrownSpriteSide;

using CrownSprite = std::array<uint8_t, kCrownSpriteBytes>;

struct CrownSprites {
    std::array<CrownSprite, kCrownSpriteCount> sprite;
};

// Sprite i is turned by 2π·i/32. At scalePercent 100 the crown has the template's own size,
// at 50 half of it. Exact integer arithmetic: every build makes the same bytes.
void buildCrownSprites(const Palette& palette, int scalePercent, CrownSprites& sprites);

}  // namespace tarvek
