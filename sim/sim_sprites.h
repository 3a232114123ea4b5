#pragma once
// The simulated game's sprite bank. A sprite word carries the sprite number in its low 16 bits
// and, in bits 16..23, the palette index that replaces the sprite's team-colour pixels.
#include <cstdint>

namespace tarvek::sim {

constexpr uint32_t kWormSprite = 1;
constexpr uint8_t kTeamColourMarker = 1;  // the pixel value a sprite uses for its team colour

struct SpriteImage {
    int32_t width = 0;
    int32_t height = 0;
    const uint8_t* pixels = nullptr;  // row by row, 0 transparent
};

// Null for an unknown sprite number.
const SpriteImage* spriteImage(uint32_t spriteWord);

constexpr uint32_t spriteWord(uint32_t number, uint8_t teamColour) { return number | uint32_t{teamColour} << 16; }

}  // namespace tarvek::sim
