#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ghostdata/sha256.h"
#include "presentation/crown_sprites.h"
#include "presentation/crown_template.h"
#include "support/palettes.h"

namespace tarvek {
namespace {

constexpr int kSide = kCrownSpriteSide;

class CrownSpritesTest : public ::testing::Test {
protected:
    const CrownSprites& build(int scalePercent) {
        buildCrownSprites(palette, scalePercent, *sprites);
        return *sprites;
    }
    static uint8_t pixel(const CrownSprite& sprite, int x, int y) { return sprite[y * kSide + x]; }
    Palette palette = testing::randomPalette(7);
    std::unique_ptr<CrownSprites> sprites = std::make_unique<CrownSprites>();
};

// Unturned at 100 %: u = x − 5 and v = round(y − 8.5), halves away from zero, so the template
// sits one to one around the sprite's centre (rows y ≤ 8 fall outside).
TEST_F(CrownSpritesTest, FullScaleShowsTheTemplateAtItsOwnSize) {
    const CrownSprite& upright = build(100).sprite[0];
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int u = x - 5, v = y - 8;
            uint8_t expected = 0;
            if (y >= 9 && u >= 0 && u < kCrownTemplateWidth && v < kCrownTemplateHeight) {
                const uint32_t cell = crownTemplate()[v * kCrownTemplateWidth + u];
                if (cell & kCrownOpaqueBit) {
                    expected = nearestPaletteEntry(palette, cell >> 16 & 0xFF, cell >> 8 & 0xFF, cell & 0xFF);
                }
            }
            ASSERT_EQ(pixel(upright, x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(CrownSpritesTest, HalfScaleHalvesTheCrown) {
    auto opaqueSize = [](const CrownSprite& sprite) {
        int left = kSide, top = kSide, right = -1, bottom = -1;
        for (int i = 0; i < kSide * kSide; ++i) {
            if (!sprite[i]) continue;
            left = std::min(left, i % kSide), right = std::max(right, i % kSide);
            top = std::min(top, i / kSide), bottom = std::max(bottom, i / kSide);
        }
        return std::pair(right - left + 1, bottom - top + 1);
    };
    EXPECT_EQ(opaqueSize(build(100).sprite[0]), std::pair(20, 13));
    EXPECT_EQ(opaqueSize(build(50).sprite[0]), std::pair(10, 6));
}

// The same bytes in every build (64- and 32-bit, Linux and Windows).
TEST_F(CrownSpritesTest, SameBytesInEveryBuild) {
    Sha256 hash;
    for (int scale : {25, 50, 100}) {
        for (const CrownSprite& sprite : build(scale).sprite) hash.update(sprite.data(), sprite.size());
    }
    EXPECT_EQ(hash.finishHex(), "c7fc63b218b5a0c863ab46d21cc176cb485802e78e74e8709ebdc882a905c151");
}

}  // namespace
}  // namespace tarvek
