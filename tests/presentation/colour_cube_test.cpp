#include <gtest/gtest.h>

#include <memory>

#include "presentation/inverse_colour_cube.h"
#include "support/palettes.h"

namespace tarvek {
namespace {

using testing::setEntry;

TEST(InverseColourCube, EqualsTheNearestEntryRuleCellByCell) {
    // Random; few distinct colours (duplicates, cells halfway between entries); a dense grey
    // ramp and a dark cluster (boxes with many survivors); one colour everywhere.
    Palette coarse = testing::randomPalette(11), greyRamp, darkCluster = testing::randomPalette(2), uniform;
    for (size_t entry = 0; entry < kPaletteEntries; ++entry) {
        setEntry(greyRamp, entry, 255 - entry, 255 - entry, 255 - entry);
        setEntry(uniform, entry, 90, 90, 90);
        for (size_t channel = 0; channel < 3; ++channel) {
            coarse.bytes[4 * entry + channel] = (coarse.bytes[4 * entry + channel] & 0x18) * 2;
            darkCluster.bytes[4 * entry + channel] &= 31;
        }
    }
    setEntry(uniform, 0, 0, 0, 0);  // entry 0 is never chosen
    auto fast = std::make_unique<InverseColourCube>(), reference = std::make_unique<InverseColourCube>();
    for (const Palette& palette : {testing::randomPalette(1), coarse, greyRamp, darkCluster, uniform}) {
        buildInverseColourCube(palette, *fast);
        testing::bruteForceCube(palette, *reference);
        ASSERT_TRUE(*fast == *reference);
    }
    EXPECT_EQ((*fast)[cubeIndex(0, 0, 0)], 1);
}

TEST(InverseColourCube, WeightsAndTies) {
    // Entries 5 and 9 against the other (white) entries; cell (r, g, b) is the colour (4r, 4g, 4b).
    const struct { uint8_t entry5[3], entry9[3]; uint32_t cell[3]; uint8_t nearest; } cases[] = {
        {{0, 0, 8}, {0, 0, 0}, {0, 0, 1}, 5},     // equal distance: the lower index
        {{12, 0, 0}, {0, 12, 0}, {0, 0, 0}, 5},   // red weighs 3, green 4
        {{0, 8, 0}, {0, 0, 12}, {0, 0, 0}, 9},    // 4·8² > 1·12²
        {{0, 0, 16}, {0, 8, 0}, {0, 0, 0}, 5},    // 1·16² = 4·8²: a tie
        {{56, 56, 56}, {0, 0, 0}, {7, 7, 7}, 5},  // a tie at the corner where entry 5 is barely a candidate
    };
    auto cube = std::make_unique<InverseColourCube>();
    for (const auto& c : cases) {
        Palette palette;
        for (size_t entry = 1; entry < kPaletteEntries; ++entry) setEntry(palette, entry, 255, 255, 255);
        setEntry(palette, 5, c.entry5[0], c.entry5[1], c.entry5[2]);
        setEntry(palette, 9, c.entry9[0], c.entry9[1], c.entry9[2]);
        buildInverseColourCube(palette, *cube);
        EXPECT_EQ((*cube)[cubeIndex(c.cell[0], c.cell[1], c.cell[2])], c.nearest);
    }
}

}  // namespace
}  // namespace tarvek
