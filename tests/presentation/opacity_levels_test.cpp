#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "presentation/opacity_levels.h"
#include "support/palettes.h"

namespace tarvek {
namespace {

using testing::setEntry;
using Percents = std::array<int, kOpacityLevelCount>;

TEST(OpacityLevels, LevelOpacities) {
    struct Case {
        int opacity;
        bool fade;
        int minimum;
        Percents expected;
    };
    const Case cases[] = {
        {60, true, 20, {60, 46, 35, 27, 22, 20}},  // divisions truncate: 40·9/25 gives 14
        {85, true, 15, {85, 60, 41, 27, 18, 15}},
        {60, false, 20, {60, 60, 60, 60, 60, 60}},
        {30, true, 50, {30, 30, 30, 30, 30, 30}},  // a minimum above the opacity fades nothing
    };
    for (const Case& c : cases) {
        GhostLook look;
        look.opacityPercent = c.opacity;
        look.fadeEnabled = c.fade;
        look.fadeMinimumOpacityPercent = c.minimum;
        EXPECT_EQ(opacityLevelPercents(look), c.expected) << c.opacity << " " << c.minimum;
    }
}

TEST(OpacityLevels, TintColours) {
    struct Case {
        bool isBlue;
        int strength;
        uint8_t brightest;  // a grey entry that sets the palette's highest channel
        uint8_t colour[3];
        Rgb expected;
    };
    const Case cases[] = {
        {false, 50, 255, {200, 100, 50}, {190, 103, 35}},
        {true, 50, 255, {200, 100, 50}, {131, 115, 106}},
        {false, 100, 100, {100, 100, 100}, {100, 78, 14}},  // gold red 118 capped at the brightest, 100
        {true, 0, 255, {200, 100, 50}, {200, 100, 50}},     // tint switched off
    };
    for (const Case& c : cases) {
        Palette palette;
        setEntry(palette, 1, c.brightest, c.brightest, c.brightest);
        setEntry(palette, 2, c.colour[0], c.colour[1], c.colour[2]);
        GhostLook look;
        look.isBlue = c.isBlue;
        look.tintStrengthPercent = c.strength;
        const Rgb tinted = tintedGhostColours(palette, look)[2];
        EXPECT_EQ(tinted.red, c.expected.red);
        EXPECT_EQ(tinted.green, c.expected.green);
        EXPECT_EQ(tinted.blue, c.expected.blue);
    }
}

class LevelTables : public ::testing::Test {
protected:
    void build(const GhostLook& look) {
        buildInverseColourCube(palette, *cube);
        buildOpacityLevels(palette, *cube, look, *tables);
    }
    uint8_t entry(size_t level, size_t background, size_t ghost) const {
        return tables->level[level][background * kPaletteEntries + ghost];
    }
    Palette palette = testing::randomPalette(5);
    std::unique_ptr<InverseColourCube> cube = std::make_unique<InverseColourCube>();
    std::unique_ptr<OpacityLevelTables> tables = std::make_unique<OpacityLevelTables>();
};

TEST_F(LevelTables, BlendsEachChannelThenLooksUpTheCube) {
    setEntry(palette, 10, 100, 0, 200);
    setEntry(palette, 20, 0, 250, 50);
    setEntry(palette, 30, 255, 255, 255);
    GhostLook look;
    look.opacityPercent = 60;
    build(look);
    // (100·40 + 0·60)/100 = 40 → 10; (0·40 + 250·60)/100 = 150 → 38; (200·40 + 50·60)/100 = 110 → 28
    EXPECT_EQ(entry(0, 10, 20), (*cube)[cubeIndex(10, 38, 28)]);
    EXPECT_EQ(entry(3, 30, 30), (*cube)[cubeIndex(63, 63, 63)]);  // (255 + 2)/4 capped at 63
}

TEST_F(LevelTables, OpaqueUntintedLevelsAreTheCubesNearestMatch) {
    GhostLook look;
    look.opacityPercent = 100;
    build(look);
    auto coordinate = [](uint32_t channel) { return std::min<uint32_t>((channel + 2) / 4, 63); };
    for (size_t level = 0; level < kOpacityLevelCount; ++level) {
        for (size_t ghost = 1; ghost < kPaletteEntries; ++ghost) {
            const size_t cell = cubeIndex(coordinate(palette.red(ghost)), coordinate(palette.green(ghost)),
                                          coordinate(palette.blue(ghost)));
            ASSERT_EQ(entry(level, ghost * 7 % 256, ghost), (*cube)[cell]) << level << " " << ghost;
        }
    }
}

TEST_F(LevelTables, GhostColourZeroStaysTransparent) {
    const GhostLook look = ghostLook(Settings{}, true);
    build(look);
    for (size_t level = 0; level < kOpacityLevelCount; ++level) {
        for (size_t background = 0; background < kPaletteEntries; ++background) {
            ASSERT_EQ(entry(level, background, 0), 0) << level << " " << background;
        }
    }
    EXPECT_EQ(opacityLevelsLogLine(ghostLook(Settings{}, false)),
              "built 6 native-quality gold opacity levels for world-record ghost (85% to 15%)");
    EXPECT_EQ(opacityLevelsLogLine(look),
              "built 6 native-quality ice-blue opacity levels for personal-record ghost (78% to 15%)");
}

}  // namespace
}  // namespace tarvek
