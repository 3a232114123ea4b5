#pragma once
// Blending opaque host lines after the fact: the tiles the lines will touch are saved, the host
// draws, and every pixel that changed becomes level-table entry [saved background][new pixel].
#include <cstdint>

#include "host/host_memory.h"
#include "presentation/display_access.h"

namespace tarvek {

struct LineEnds {
    int32_t x1 = 0;  // 16.16 world coordinates, as the host's line routines take them
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
};

inline constexpr uint32_t kTileSide = 16;
inline constexpr uint32_t kMaxSnapshotTiles = 1600;
inline constexpr uint32_t kLineTileMargin = 4;  // pixels around each line's bounding box

// Records and saves the tiles of the display's surface that the lines can touch. False, with
// nothing kept, when the surface does not qualify, a tile cannot be read, or the lines need
// more than 1600 tiles.
bool captureLineTiles(HostAddr display, const LineEnds* lines, uint32_t count);
// Tiles kept by the last capture.
uint32_t capturedTileCount();

// After the host drew: blends the changed pixels of the kept tiles through the table, when the
// display still draws on the same pixels with the same stride.
void blendCapturedTiles(HostAddr display, const uint8_t* levelTable);

}  // namespace tarvek
