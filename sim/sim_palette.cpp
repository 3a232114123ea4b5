#include "sim/sim_palette.h"

#include <cstddef>

namespace tarvek::sim {

Palette gamePalette() {
    Palette palette{};
    auto set = [&](int index, int red, int green, int blue) {
        palette[size_t(index) * 4] = static_cast<uint8_t>(red);
        palette[size_t(index) * 4 + 1] = static_cast<uint8_t>(green);
        palette[size_t(index) * 4 + 2] = static_cast<uint8_t>(blue);
    };
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) set(1 + r * 36 + g * 6 + b, r * 51, g * 51, b * 51);
    for (int i = 0; i < 24; ++i) set(217 + i, 10 + i * 10, 10 + i * 10, 10 + i * 10);
    for (int i = 0; i < 15; ++i) set(241 + i, 120 + i * 9, 40 + i * 11, 60 + i * 10);
    return palette;
}

uint8_t nearestPaletteEntry(const Palette& palette, int red, int green, int blue) {
    uint8_t best = 1;
    int64_t bestDistance = INT64_MAX;
    for (int index = 1; index < 256; ++index) {
        const int64_t dr = palette[size_t(index) * 4] - red;
        const int64_t dg = palette[size_t(index) * 4 + 1] - green;
        const int64_t db = palette[size_t(index) * 4 + 2] - blue;
        const int64_t distance = 3 * dr * dr + 4 * dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<uint8_t>(index);
        }
    }
    return best;
}

std::vector<uint8_t> hostTranslucencyTable(const Palette& palette) {
    // Nearest entries on a 32-level grid per channel; the mixes are looked up there.
    std::vector<uint8_t> grid(32 * 32 * 32);
    for (int r = 0; r < 32; ++r)
        for (int g = 0; g < 32; ++g)
            for (int b = 0; b < 32; ++b)
                grid[size_t(r) * 1024 + size_t(g) * 32 + size_t(b)] =
                    nearestPaletteEntry(palette, r * 8 + 4, g * 8 + 4, b * 8 + 4);
    std::vector<uint8_t> table(65536);
    for (int background = 0; background < 256; ++background) {
        const uint8_t* bg = &palette[size_t(background) * 4];
        table[size_t(background) * 256] = static_cast<uint8_t>(background);
        for (int source = 1; source < 256; ++source) {
            const uint8_t* src = &palette[size_t(source) * 4];
            const int r = (bg[0] + src[0]) / 2;
            const int g = (bg[1] + src[1]) / 2;
            const int b = (bg[2] + src[2]) / 2;
            table[size_t(background) * 256 + size_t(source)] = grid[size_t(r >> 3) * 1024 + size_t(g >> 3) * 32 + size_t(b >> 3)];
        }
    }
    return table;
}

}  // namespace tarvek::sim
