#include "presentation/tile_snapshot.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "host/host_context.h"
#include "presentation/tile_set.h"

namespace tarvek {
namespace {

struct Tile {
    uint32_t x = 0;  // pixel rectangle inside the surface
    uint32_t y = 0;
    uint32_t width = 0;
    uint32_t height = 0;
};

struct Snapshot {
    TileSet set;
    std::array<Tile, kMaxSnapshotTiles> tiles;
    uint32_t tileCount = 0;
    DisplaySurface surface;
    std::array<uint8_t, kMaxSnapshotTiles * kTileSide * kTileSide> saved;
    std::array<uint8_t, kTileSide * kTileSide> current;
};

Snapshot& snapshot() {
    static Snapshot state;
    return state;
}

int32_t screenCoordinate(int32_t world, int32_t scroll, int32_t low, int32_t high) {
    const int64_t pixel = int64_t{world >> 16} + scroll;
    return static_cast<int32_t>(std::clamp<int64_t>(pixel, low, high));
}

// Adds the tiles under one line's widened bounding box; false when the tile budget runs out.
bool addLineTiles(Snapshot& state, const LineEnds& line, const ScreenPoint& scroll) {
    const DisplaySurface& s = state.surface;
    const int32_t right = s.clipRight - 1;
    const int32_t bottom = s.clipBottom - 1;
    const int32_t x1 = screenCoordinate(line.x1, scroll.x, s.clipLeft, right);
    const int32_t x2 = screenCoordinate(line.x2, scroll.x, s.clipLeft, right);
    const int32_t y1 = screenCoordinate(line.y1, scroll.y, s.clipTop, bottom);
    const int32_t y2 = screenCoordinate(line.y2, scroll.y, s.clipTop, bottom);
    const auto margin = static_cast<int32_t>(kLineTileMargin);
    const int32_t left = std::max(std::min(x1, x2) - margin, s.clipLeft);
    const int32_t top = std::max(std::min(y1, y2) - margin, s.clipTop);
    const int32_t last = std::min(std::max(x1, x2) + margin, right);
    const int32_t lowest = std::min(std::max(y1, y2) + margin, bottom);
    for (uint32_t row = uint32_t(top) / kTileSide; row <= uint32_t(lowest) / kTileSide; ++row) {
        for (uint32_t column = uint32_t(left) / kTileSide; column <= uint32_t(last) / kTileSide; ++column) {
            const TileSet::Insert result = state.set.insert(column, row);
            if (result == TileSet::Insert::Full) return false;
            if (result == TileSet::Insert::Present) continue;
            if (state.tileCount == kMaxSnapshotTiles) return false;
            Tile& tile = state.tiles[state.tileCount++];
            tile.x = column * kTileSide;
            tile.y = row * kTileSide;
            tile.width = std::min(kTileSide, s.width - tile.x);
            tile.height = std::min(kTileSide, s.height - tile.y);
        }
    }
    return true;
}

HostAddr tileAddress(const DisplaySurface& surface, const Tile& tile) {
    return surface.pixels + tile.y * surface.stride + tile.x;
}

// The surface's pixels, checked once for the whole flush: blending writes what it read.
std::optional<VerifiedRange> verifyPixels(const DisplaySurface& surface) {
    return hostMemory().verify(surface.pixels, size_t{surface.height - 1} * surface.stride + surface.width, true);
}

}  // namespace

bool captureLineTiles(HostAddr display, const LineEnds* lines, uint32_t count) {
    Snapshot& state = snapshot();
    state.tileCount = 0;
    state.set.beginFlush();
    const auto surface = displaySurface(display);
    const auto scroll = displayScroll(display);
    if (!surface || !scroll) return false;
    state.surface = *surface;
    for (uint32_t i = 0; i < count; ++i) {
        if (!addLineTiles(state, lines[i], *scroll)) {
            state.tileCount = 0;
            return false;
        }
    }
    const HostMemory& memory = hostMemory();
    const auto pixels = verifyPixels(state.surface);
    for (uint32_t i = 0; i < state.tileCount; ++i) {
        const Tile& tile = state.tiles[i];
        uint8_t* saved = state.saved.data() + size_t{i} * kTileSide * kTileSide;
        if (!pixels ||
            !memory.readRows(*pixels, tileAddress(state.surface, tile), state.surface.stride, tile.width, tile.height, saved)) {
            state.tileCount = 0;
            return false;
        }
    }
    return true;
}

uint32_t capturedTileCount() { return snapshot().tileCount; }

void blendCapturedTiles(HostAddr display, const uint8_t* levelTable) {
    Snapshot& state = snapshot();
    const auto surface = displaySurface(display);
    if (!surface || surface->pixels != state.surface.pixels || surface->stride != state.surface.stride) return;
    const auto pixels = verifyPixels(*surface);
    if (!pixels) return;
    HostMemory& memory = hostMemory();
    uint8_t* current = state.current.data();
    for (uint32_t i = 0; i < state.tileCount; ++i) {
        const Tile& tile = state.tiles[i];
        const HostAddr at = tileAddress(state.surface, tile);
        if (!memory.readRows(*pixels, at, state.surface.stride, tile.width, tile.height, current)) continue;
        const uint8_t* saved = state.saved.data() + size_t{i} * kTileSide * kTileSide;
        const uint32_t size = tile.width * tile.height;
        if (std::memcmp(current, saved, size) == 0) continue;  // most tiles of a thin rope stay as they were
        for (uint32_t p = 0; p < size; ++p)
            if (current[p] != saved[p]) current[p] = levelTable[size_t{saved[p]} * 256 + current[p]];
        memory.writeRows(*pixels, at, state.surface.stride, tile.width, tile.height, current);
    }
}

}  // namespace tarvek
