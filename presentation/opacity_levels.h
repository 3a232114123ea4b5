#pragma once
// The six opacity level tables of a ghost: entry background × 256 + ghost colour holds the
// palette index that best shows the tinted ghost colour over the background at that level.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/settings.h"
#include "presentation/inverse_colour_cube.h"
#include "presentation/palette.h"

namespace tarvek {

inline constexpr size_t kOpacityLevelCount = 6;
inline constexpr uint32_t kHighestOpacityLevel = kOpacityLevelCount - 1;
inline constexpr size_t kOpacityTableSize = kPaletteEntries * kPaletteEntries;

using OpacityTable = std::array<uint8_t, kOpacityTableSize>;

struct OpacityLevelTables {
    std::array<OpacityTable, kOpacityLevelCount> level;
};

// What the settings say about one ghost's look.
struct GhostLook {
    bool isBlue = false;
    int opacityPercent = 100;
    int tintStrengthPercent = 0;  // 0 while the ghost's colour switch is off
    bool fadeEnabled = false;
    int fadeMinimumOpacityPercent = 0;
};

GhostLook ghostLook(const Settings& settings, bool isBlue);

// Opacity of each level: level 0 is the configured opacity; with the proximity fade on, the
// later levels approach the fade minimum by the factors 0.36, 0.64, 0.84, 0.96 and 1.
std::array<int, kOpacityLevelCount> opacityLevelPercents(const GhostLook& look);

struct Rgb {
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
};

// Every palette entry blended towards the ghost's tint colour (gold or ice-blue) by the tint
// strength.
std::array<Rgb, kPaletteEntries> tintedGhostColours(const Palette& palette, const GhostLook& look);

// Column 0 (the transparent ghost colour) stays 0 in every table.
void buildOpacityLevels(const Palette& palette, const InverseColourCube& cube, const GhostLook& look,
                        OpacityLevelTables& tables);

// "built 6 native-quality gold opacity levels for world-record ghost (85% to 15%)"
std::string opacityLevelsLogLine(const GhostLook& look);

}  // namespace tarvek
