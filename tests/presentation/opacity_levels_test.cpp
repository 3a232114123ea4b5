#include <gtest/gtest.h>

#include <memory>

#include "presentation/opacity_levels.h"
#include "support/palettes.h"

namespace tarvek {
namespace {

using testing::setEntry;

GhostLook look(int opacity, bool fade, int minimum, bool isBlue = false, int tint = 0) {
    return GhostLook{isBlue, opacity, tint, fade, minimum};
}

TEST(OpacityLevels, LevelOpacities) {
    using Percents = std::array<int, kOpacityLevelCount>;
    EXPECT_EQ(opacityLevelPercents(look(60, true, 20)), (Percents{60, 46, 35, 27, 22, 20}));  // 40·9/25 gives 14
    EXPECT_EQ(opacityLevelPercents(look(85, true, 15)), (Percents{85, 60, 41, 27, 18, 15}));
    EXPECT_EQ(opacityLevelPercents(look(60, false, 20)), (Percents{60, 60, 60, 60, 60, 60}));
    EXPECT_EQ(opacityLevelPercents(look(30, true, 50)), (Percents{30, 30, 30, 30, 30, 30}));
    EXPECT_EQ(opacityLevelsLogLine(look(78, false, 15, true)),
              "built 6 native-quality ice-blue opacity levels for personal-record ghost (78% to 78%)");
}

TEST(OpacityLevels, TintColours) {
    // brightest: a grey entry that sets the palette's highest channel.
    const struct { GhostLook look; uint8_t brightest, colour[3]; int32_t expected[3]; } cases[] = {
        {look(100, false, 0, false, 50), 255, {200, 100, 50}, {190, 103, 35}},
        {look(100, false, 0, true, 50), 255, {200, 100, 50}, {131, 115, 106}},
        {look(100, false, 0, false, 100), 100, {100, 100, 100}, {100, 78, 14}},  // red 118 capped at 100
        {look(100, false, 0, true, 0), 255, {200, 100, 50}, {200, 100, 50}},      // tint switched off
    };
    for (const auto& c : cases) {
        Palette palette;
        setEntry(palette, 1, c.brightest, c.brightest, c.brightest);
        setEntry(palette, 2, c.colour[0], c.colour[1], c.colour[2]);
        const Rgb tinted = tintedGhostColours(palette, c.look)[2];
        EXPECT_EQ((std::array<int32_t, 3>{tinted.red, tinted.green, tinted.blue}),
                  (std::array<int32_t, 3>{c.expected[0], c.expected[1], c.expected[2]}));
    }
}

TEST(OpacityLevels, TablesBlendEachChannelThenLookUpTheCube) {
    Palette palette = testing::randomPalette(5);
    setEntry(palette, 10, 100, 0, 200);
    setEntry(palette, 20, 0, 250, 50);
    setEntry(palette, 30, 255, 255, 255);
    auto cube = std::make_unique<InverseColourCube>();
    auto tables = std::make_unique<OpacityLevelTables>();
    buildInverseColourCube(palette, *cube);
    buildOpacityLevels(palette, *cube, look(60, true, 20), *tables);
    auto entry = [&](size_t level, size_t background, size_t ghost) {
        return tables->level[level][background * kPaletteEntries + ghost];
    };
    // (100·40 + 0·60)/100 = 40 → 10; (0·40 + 250·60)/100 = 150 → 38; (200·40 + 50·60)/100 = 110 → 28
    EXPECT_EQ(entry(0, 10, 20), (*cube)[cubeIndex(10, 38, 28)]);
    // Level 5 at 20 %: (100·80)/100 = 80 → 20; (250·20)/100 = 50 → 13; (16000 + 1000)/100 = 170 → 43
    EXPECT_EQ(entry(5, 10, 20), (*cube)[cubeIndex(20, 13, 43)]);
    EXPECT_EQ(entry(3, 30, 30), (*cube)[cubeIndex(63, 63, 63)]);  // (255 + 2)/4 capped at 63
    for (size_t level = 0; level < kOpacityLevelCount; ++level) {
        for (size_t background = 0; background < kPaletteEntries; ++background) {
            ASSERT_EQ(entry(level, background, 0), 0) << "ghost colour 0 stays transparent";
        }
    }
}

}  // namespace
}  // namespace tarvek
