#include "presentation/crown_template.h"

#include <cstdlib>

namespace tarvek {
namespace {

// B dark brown outline, G gold to orange, O dark orange-brown, W highlight, J jewel.
constexpr const char* kShape[kCrownTemplateHeight] = {
    "......................",
    "..........BB..........",
    "..........GG..........",
    "..........GG..........",
    ".BWB.....BGGB.....BGB.",
    ".BGGB...BGGGGB...BGGB.",
    ".BGGGB..BWGGGB..BGWGB.",
    "..BGGGBBWGBBGGBBWGGB..",
    "..BGGGWWGGJJGGWWGGGB..",
    "...GGGGGGGBBGGGGGGG...",
    "...OGGGWGGGGGGGGGOO...",
    "...GGGGGGGGGGGGGGGG...",
    "...GGGOBBBBBBBBOGGG...",
    "...BB............BB...",
    "......................",
};

constexpr uint32_t rgb(int red, int green, int blue) {
    return kCrownOpaqueBit | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
           static_cast<uint32_t>(blue);
}

// Shades within each class: the gold runs from orange 0x974700 at the band to 0xFFEA35 at the
// tip of the middle spike and is brightest down the middle; the outline darkens upwards.
uint32_t shade(char cell, int row, int column) {
    switch (cell) {
        case 'B':
            return rgb(35 + 2 * row, 0x12 + (column & 7), 0x08);
        case 'G': {
            const int height = 12 - row;  // 0 at the band, 10 at the top
            const int sheen = std::abs(2 * column - 21);
            return rgb(151 + 104 * height / 10, 71 + 163 * height / 10 + 21 - sheen, 53 * height / 10);
        }
        case 'O':
            return rgb(0x7E + 4 * (column % 5), 0x3D, 0x02);
        case 'W':
            return rgb(0xFE - (row - 4), 0xFF - (row - 4), 0xFA - (row - 4));
        case 'J':
            return column == 10 ? rgb(0xFC, 0x10, 0x1A) : rgb(0xF3, 0x06, 0x11);
        default:
            return 0;
    }
}

CrownTemplate makeTemplate() {
    CrownTemplate cells{};
    for (int row = 0; row < kCrownTemplateHeight; ++row) {
        for (int column = 0; column < kCrownTemplateWidth; ++column) {
            cells[row * kCrownTemplateWidth + column] = shade(kShape[row][column], row, column);
        }
    }
    return cells;
}

}  // namespace

const CrownTemplate& crownTemplate() {
    static const CrownTemplate cells = makeTemplate();
    return cells;
}

}  // namespace tarvek
