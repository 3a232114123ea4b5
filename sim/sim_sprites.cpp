#include "sim/sim_sprites.h"

#include <array>
#include <cstddef>

namespace tarvek::sim {
namespace {

// A worm facing left: outline, pink body and highlights, eyes, and a band in the team colour.
constexpr const char* kWormRows[16] = {
    ".....oooo.......", "....oppppo......", "...opwwpwwo.....", "...opwkpwko.....",
    "...otttttto.....", "...oppppppo.....", "...opplpppo.....", "....opllppo.....",
    "....oppllpo.....", "....opppppo.....", ".....opppppo....", ".....oppppppo...",
    "......opppppo...", ".....oppppppoo..", "....opppppppppo.", "....oooooooooo..",
};

uint8_t wormPixel(char code) {
    switch (code) {
        case 'o': return 243;  // dark pink outline
        case 'p': return 250;
        case 'l': return 254;
        case 'w': return 240;  // near white
        case 'k': return 218;  // near black
        case 't': return kTeamColourMarker;
        default: return 0;
    }
}

const std::array<uint8_t, 256>& wormPixels() {
    static const std::array<uint8_t, 256> pixels = [] {
        std::array<uint8_t, 256> out{};
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) out[size_t(y) * 16 + size_t(x)] = wormPixel(kWormRows[y][x]);
        return out;
    }();
    return pixels;
}

}  // namespace

const SpriteImage* spriteImage(uint32_t word) {
    static const SpriteImage worm{16, 16, wormPixels().data()};
    return (word & 0xFFFF) == kWormSprite ? &worm : nullptr;
}

}  // namespace tarvek::sim
