#include "presentation/timer_remap.h"

#include <algorithm>

namespace tarvek {

void buildTimerRemap(const Palette& palette, TimerRemap& remap) {
    TimerRemap first{};
    for (size_t k = 1; k < kPaletteEntries; ++k) {
        const int32_t red = palette.red(k);
        const int32_t green = palette.green(k);
        const int32_t blue = palette.blue(k);
        if (green > red && green > blue) {
            first[k] = static_cast<uint8_t>(k);
            continue;
        }
        const int32_t m = std::max({red, green, blue});
        first[k] = nearestPaletteEntry(palette, m / 5, m, 12 * m / 100);
    }
    remap = first;
    for (size_t k = 1; k < kPaletteEntries; ++k) remap[first[k]] = first[k];
    remap[0] = 0;
}

}  // namespace tarvek
