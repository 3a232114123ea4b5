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
    // The template cell as the sprites must show it: its nearest palette entry.
    uint8_t templatePixel(int u, int v) const {
        const uint32_t cell = crownTemplate()[v * kCrownTemplateWidth + u];
        if (!(cell & kCrownOpaqueBit)) return 0;
        return nearestPaletteEntry(palette, (cell >> 16) & 0xFF, (cell >> 8) & 0xFF, cell & 0xFF);
    }
    Palette palette = testing::randomPalette(7);
    std::unique_ptr<CrownSprites> sprites = std::make_unique<CrownSprites>();
};

TEST_F(CrownSpritesTest, TemplateKeepsTheFiveColourClasses) {
    int outline = 0, gold = 0, darkOrange = 0, highlight = 0, jewel = 0, opaque = 0;
    for (uint32_t cell : crownTemplate()) {
        if (!(cell & kCrownOpaqueBit)) continue;
        ++opaque;
        const uint32_t colour = cell & 0xFFFFFF, red = colour >> 16;
        if (colour == 0xFC101A || colour == 0xF30611) ++jewel;
        else if (red >= 0xF0 && ((colour >> 8) & 0xFF) >= 0xF0 && (colour & 0xFF) >= 0xF0) ++highlight;
        else if (red >= 35 && red <= 61) ++outline;
        else if (red >= 126 && red <= 142) ++darkOrange;
        else if (red >= 151) ++gold;
    }
    EXPECT_EQ(opaque, 150);
    EXPECT_EQ(outline, 44);
    EXPECT_EQ(gold, 89);
    EXPECT_EQ(darkOrange, 5);
    EXPECT_EQ(highlight, 10);
    EXPECT_EQ(jewel, 2);
}

// Unturned at 100 %: u = x − 5 and v = round(y − 8.5), halves away from zero (y ≤ 8 falls
// outside), so the template sits one-to-one around the sprite's centre.
TEST_F(CrownSpritesTest, FullScaleShowsTheTemplateAtItsOwnSize) {
    const CrownSprite& upright = build(100).sprite[0];
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int u = x - 5, v = y - 8;
            const bool inside = y >= 9 && u >= 0 && u < kCrownTemplateWidth && v < kCrownTemplateHeight;
            ASSERT_EQ(pixel(upright, x, y), inside ? templatePixel(u, v) : 0) << x << "," << y;
        }
    }
}

TEST_F(CrownSpritesTest, HalfScaleHalvesTheCrown) {
    struct Box {
        int left = kSide, top = kSide, right = -1, bottom = -1;
    };
    auto opaqueBox = [](const CrownSprite& sprite) {
        Box box;
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                if (!pixel(sprite, x, y)) continue;
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
            }
        }
        return box;
    };
    const Box full = opaqueBox(build(100).sprite[0]);
    const Box half = opaqueBox(build(50).sprite[0]);
    EXPECT_EQ(full.right - full.left + 1, 20);
    EXPECT_EQ(full.bottom - full.top + 1, 13);
    EXPECT_EQ(half.right - half.left + 1, 10);
    EXPECT_EQ(half.bottom - half.top + 1, 6);
}

// Eight steps are a quarter turn: sprite i + 8 at (x, y) shows what sprite i shows at
// (y, 31 − x), exactly, at every scale.
TEST_F(CrownSpritesTest, QuarterTurnsAreExact) {
    for (int scale : {25, 50, 73, 100}) {
        const CrownSprites& all = build(scale);
        for (int step = 0; step + 8 < static_cast<int>(kCrownSpriteCount); ++step) {
            for (int y = 0; y < kSide; ++y) {
                for (int x = 0; x < kSide; ++x) {
                    ASSERT_EQ(pixel(all.sprite[step + 8], x, y), pixel(all.sprite[step], y, kSide - 1 - x))
                        << scale << "% step " << step << " at " << x << "," << y;
                }
            }
        }
    }
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
