#include <gtest/gtest.h>

#include <memory>

#include "presentation/inverse_colour_cube.h"
#include "support/palettes.h"

namespace tarvek {
namespace {

using testing::setEntry;

// Few distinct colours on a coarse grid, in no particular index order: many duplicates and
// many cells exactly between two entries.
Palette coarsePalette() {
    Palette palette = testing::randomPalette(11);
    for (uint8_t& byte : palette.bytes) byte = static_cast<uint8_t>((byte & 0x18) * 2);
    return palette;
}

TEST(InverseColourCube, EqualsTheNearestEntryRuleCellByCell) {
    Palette uniform, greyRamp, darkCluster = testing::randomPalette(2);
    for (size_t entry = 0; entry < kPaletteEntries; ++entry) {
        setEntry(uniform, entry, 90, 90, 90);
        const uint8_t grey = static_cast<uint8_t>(255 - entry);
        setEntry(greyRamp, entry, grey, grey, grey);
        for (size_t channel = 0; channel < 3; ++channel) darkCluster.bytes[4 * entry + channel] &= 31;
    }
    setEntry(uniform, 0, 0, 0, 0);  // entry 0 would be nearer to black, but is never chosen
    const Palette palettes[] = {testing::randomPalette(1), coarsePalette(), greyRamp, darkCluster, uniform};
    auto fast = std::make_unique<InverseColourCube>();
    auto reference = std::make_unique<InverseColourCube>();
    for (const Palette& palette : palettes) {
        buildInverseColourCube(palette, *fast);
        testing::bruteForceCube(palette, *reference);
        ASSERT_TRUE(*fast == *reference);
    }
    EXPECT_EQ((*fast)[cubeIndex(0, 0, 0)], 1);
}

TEST(InverseColourCube, WeightsAndTies) {
    struct Case {
        uint8_t lowEntry[3];   // colour of entry 5
        uint8_t highEntry[3];  // colour of entry 9
        uint32_t cell[3];
        uint8_t expected;
    };
    const Case cases[] = {
        {{0, 0, 8}, {0, 0, 0}, {0, 0, 1}, 5},      // equal distance: the lower index
        {{0, 0, 0}, {0, 0, 8}, {0, 0, 1}, 5},      // whichever colour it has
        {{12, 0, 0}, {0, 12, 0}, {0, 0, 0}, 5},    // red weighs 3, green 4
        {{0, 8, 0}, {0, 0, 12}, {0, 0, 0}, 9},     // 4·8² > 1·12²
        {{0, 0, 16}, {0, 8, 0}, {0, 0, 0}, 5},     // 1·16² = 4·8²: a tie
    };
    auto cube = std::make_unique<InverseColourCube>();
    for (const Case& c : cases) {
        Palette palette;
        for (size_t entry = 1; entry < kPaletteEntries; ++entry) setEntry(palette, entry, 255, 255, 255);
        setEntry(palette, 5, c.lowEntry[0], c.lowEntry[1], c.lowEntry[2]);
        setEntry(palette, 9, c.highEntry[0], c.highEntry[1], c.highEntry[2]);
        buildInverseColourCube(palette, *cube);
        EXPECT_EQ((*cube)[cubeIndex(c.cell[0], c.cell[1], c.cell[2])], c.expected)
            << int(c.lowEntry[0]) << "," << int(c.lowEntry[1]) << "," << int(c.lowEntry[2]);
    }
}

}  // namespace
}  // namespace tarvek
