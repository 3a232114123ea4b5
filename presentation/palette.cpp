#include "presentation/palette.h"

#include "host/host_layout.h"

namespace tarvek {

bool Palette::sameColours(const Palette& other) const {
    for (size_t i = 0; i < kPaletteBytes; i += 4) {
        if (bytes[i] != other.bytes[i] || bytes[i + 1] != other.bytes[i + 1] || bytes[i + 2] != other.bytes[i + 2]) {
            return false;
        }
    }
    return true;
}

uint8_t nearestPaletteEntry(const Palette& palette, int32_t red, int32_t green, int32_t blue) {
    uint8_t best = 1;
    int32_t bestDistance = INT32_MAX;
    for (size_t entry = 1; entry < kPaletteEntries; ++entry) {
        const int32_t distance =
            colourDistance(palette.red(entry) - red, palette.green(entry) - green, palette.blue(entry) - blue);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<uint8_t>(entry);
        }
    }
    return best;
}

bool readDisplayPalette(const HostMemory& memory, HostAddr display, Palette& palette) {
    return memory.read(display + host_layout::display::kPalette, palette.bytes.data(), kPaletteBytes);
}

}  // namespace tarvek
