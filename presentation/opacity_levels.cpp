#include "presentation/opacity_levels.h"

#include <algorithm>
#include <vector>

namespace tarvek {
namespace {

constexpr int32_t kFullPercent = 100;
constexpr int32_t kMaxBlendedChannel = 255 * kFullPercent;

// Tint colour of an entry from its luminance L and the palette's brightest channel M:
// channel = L · lumaPercent / 100 + M · basePercent / 100, at most M.
struct TintChannel {
    int32_t lumaPercent;
    int32_t basePercent;
};
struct TintRecipe {
    TintChannel red, green, blue;
};
constexpr TintRecipe kGoldTint = {{92, 26}, {70, 8}, {12, 2}};
constexpr TintRecipe kIceBlueTint = {{34, 8}, {68, 18}, {70, 30}};

int32_t tintChannel(const TintChannel& channel, int32_t luminance, int32_t brightest) {
    const int32_t value = luminance * channel.lumaPercent / 100 + brightest * channel.basePercent / 100;
    return std::min(value, brightest);
}

int32_t brightestChannel(const Palette& palette) {
    int32_t brightest = 1;
    for (size_t entry = 0; entry < kPaletteEntries; ++entry) {
        brightest = std::max({brightest, int32_t{palette.red(entry)}, int32_t{palette.green(entry)},
                              int32_t{palette.blue(entry)}});
    }
    return brightest;
}

int32_t blend(int32_t under, int32_t over, int32_t overPercent) {
    return (under * (kFullPercent - overPercent) + over * overPercent) / kFullPercent;
}

// A blended channel sum (channel × 100 before the division) to its 6-bit cube coordinate:
// (sum / 100 + 2) / 4, at most 63.
std::vector<uint8_t> cubeCoordinates() {
    std::vector<uint8_t> coordinates(kMaxBlendedChannel + 1);
    for (int32_t sum = 0; sum <= kMaxBlendedChannel; ++sum) {
        coordinates[sum] = static_cast<uint8_t>(std::min<int32_t>((sum / kFullPercent + 2) / 4, kCubeSide - 1));
    }
    return coordinates;
}

}  // namespace

GhostLook ghostLook(const Settings& s, bool isBlue) {
    GhostLook look;
    look.isBlue = isBlue;
    look.opacityPercent = isBlue ? s.blueOpacityPercent : s.goldOpacityPercent;
    const bool tinted = isBlue ? s.personalRecordBlue : s.worldRecordGold;
    look.tintStrengthPercent = tinted ? (isBlue ? s.blueTintStrengthPercent : s.goldTintStrengthPercent) : 0;
    look.fadeEnabled = s.proximityFadeEnabled;
    look.fadeMinimumOpacityPercent = s.proximityFadeMinimumOpacityPercent;
    return look;
}

std::array<int, kOpacityLevelCount> opacityLevelPercents(const GhostLook& look) {
    std::array<int, kOpacityLevelCount> percents;
    const int range = look.fadeEnabled ? std::max(0, look.opacityPercent - look.fadeMinimumOpacityPercent) : 0;
    for (int k = 0; k < static_cast<int>(kOpacityLevelCount); ++k) {
        percents[k] = look.opacityPercent - range * k * (10 - k) / 25;
    }
    return percents;
}

std::array<Rgb, kPaletteEntries> tintedGhostColours(const Palette& palette, const GhostLook& look) {
    const TintRecipe& recipe = look.isBlue ? kIceBlueTint : kGoldTint;
    const int32_t brightest = brightestChannel(palette);
    // Percentages outside 0..100 would blend outside the channel range the lookups cover.
    const int32_t strength = std::clamp(look.tintStrengthPercent, 0, kFullPercent);
    std::array<Rgb, kPaletteEntries> colours;
    for (size_t entry = 0; entry < kPaletteEntries; ++entry) {
        const int32_t red = palette.red(entry), green = palette.green(entry), blue = palette.blue(entry);
        const int32_t luminance = (3 * red + 6 * green + blue) / 10;
        colours[entry] = {blend(red, tintChannel(recipe.red, luminance, brightest), strength),
                          blend(green, tintChannel(recipe.green, luminance, brightest), strength),
                          blend(blue, tintChannel(recipe.blue, luminance, brightest), strength)};
    }
    return colours;
}

void buildOpacityLevels(const Palette& palette, const InverseColourCube& cube, const GhostLook& look,
                        OpacityLevelTables& tables) {
    const std::array<Rgb, kPaletteEntries> ghost = tintedGhostColours(palette, look);
    const std::array<int, kOpacityLevelCount> percents = opacityLevelPercents(look);
    const std::vector<uint8_t> coordinate = cubeCoordinates();
    for (size_t k = 0; k < kOpacityLevelCount; ++k) {
        const int32_t over = std::clamp(percents[k], 0, kFullPercent);
        const int32_t under = kFullPercent - over;
        std::array<Rgb, kPaletteEntries> ghostPart;
        for (size_t g = 0; g < kPaletteEntries; ++g) {
            ghostPart[g] = {ghost[g].red * over, ghost[g].green * over, ghost[g].blue * over};
        }
        OpacityTable& table = tables.level[k];
        for (size_t b = 0; b < kPaletteEntries; ++b) {
            const int32_t red = palette.red(b) * under, green = palette.green(b) * under, blue = palette.blue(b) * under;
            uint8_t* row = table.data() + b * kPaletteEntries;
            row[0] = 0;
            for (size_t g = 1; g < kPaletteEntries; ++g) {
                row[g] = cube[cubeIndex(coordinate[red + ghostPart[g].red], coordinate[green + ghostPart[g].green],
                                        coordinate[blue + ghostPart[g].blue])];
            }
        }
    }
}

std::string opacityLevelsLogLine(const GhostLook& look) {
    const std::array<int, kOpacityLevelCount> percents = opacityLevelPercents(look);
    const char* middle = look.isBlue ? " native-quality ice-blue opacity levels for personal-record ghost ("
                                     : " native-quality gold opacity levels for world-record ghost (";
    return "built " + std::to_string(kOpacityLevelCount) + middle + std::to_string(percents[0]) + "% to " +
           std::to_string(percents[kHighestOpacityLevel]) + "%)";
}

}  // namespace tarvek
