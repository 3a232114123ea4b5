#include "ghostdata/map_hash_settle.h"

#include <optional>

#include "ghostdata/host_bitmap.h"
#include "ghostdata/map_geometry_capture.h"
#include "ghostdata/map_hash.h"
#include "host/host_layout.h"
#include "host/log.h"
#include "host/text.h"

namespace tarvek {
namespace {

// Only the first eight failed attempts of a match are worth a line.
constexpr uint32_t kLoggedWaits = 8;

bool wait(MapHashState& state, const std::string& line = {}) {
    if (!line.empty() && state.waits < kLoggedWaits) logLine(line);
    state.waits = saturatingIncrement(state.waits);
    return false;
}

bool inMapRange(uint32_t side) { return side >= 1 && side <= kMaxMapSide; }

struct Geometry {
    std::string hash;
    std::string source;
};

// Takes the landscape capture of this map, or hashes the mask now when the scheme adds no
// borders that could have changed it since loading.
Geometry geometryFor(const HostMemory& memory, HostAddr world, HostAddr landscape, uint32_t width,
                     uint32_t height) {
    MapGeometryCaptureStore& store = mapGeometryCaptures();
    std::lock_guard<std::mutex> guard(store.lock);
    MapGeometryCapture& capture = store.capture;
    if (capture.holdsHash() && (capture.world != world || capture.landscape != landscape))
        capture = {};
    if (capture.holdsHash() && capture.width == width && capture.height == height) {
        capture.consumed = true;
        return {capture.hash, capture.source};
    }
    const std::optional<uint32_t> setup = memory.readU32(world, host_layout::world::kGameState);
    const std::optional<uint8_t> noBorders =
        setup ? memory.readU8(*setup, host_layout::game_state::kNoBorders) : std::nullopt;
    if (noBorders && *noBorders == 0) {
        MaskHash mask;
        if (hashCollisionMask(memory, landscape, mask) && mask.width == width && mask.height == height)
            return {mask.hash, std::string(kNoBordersGeometrySource)};
    }
    return {};
}

}  // namespace

MapHashState& mapHashState() {
    static MapHashState state;
    return state;
}

bool settleMapHash(const HostMemory& memory, HostAddr world, MapHashState& state) {
    if (state.settled) return false;
    const std::optional<int32_t> frame = memory.readI32(world, host_layout::world::kFrameCounter);
    if (!frame || *frame <= 0) return false;

    const uint32_t width = memory.readU32(world, host_layout::world::kMapWidth).value_or(0);
    const uint32_t height = memory.readU32(world, host_layout::world::kMapHeight).value_or(0);
    if (!inMapRange(width) || !inMapRange(height))
        return wait(state, "map hash waiting: invalid dimensions " + std::to_string(width) + "x" +
                               std::to_string(height));

    const HostAddr landscape = memory.readU32(world, host_layout::world::kLandscape).value_or(0);
    const std::optional<uint32_t> terrainObject =
        landscape ? memory.readU32(landscape, host_layout::landscape::kTerrain) : std::nullopt;
    if (!terrainObject)
        return wait(state, "map hash waiting: landscape/terrain field is not readable at 0x" +
                               hexLower(landscape));

    const std::optional<HostBitmap> terrain = readHostBitmap(memory, *terrainObject);
    if (!terrain) return wait(state);
    if (state.waits == 0)
        logLine("map hash source: world " + std::to_string(width) + "x" + std::to_string(height) +
                ", terrain " + std::to_string(terrain->width) + "x" + std::to_string(terrain->height) +
                " @ " + std::to_string(terrain->bitsPerPixel) + " bpp" + ", landscape 0x" +
                hexLower(landscape) + ", pixels 0x" + hexLower(terrain->pixels) + ", row stride " +
                std::to_string(terrain->stride));
    if (terrain->pixels == 0 || terrain->bitsPerPixel != 8 || terrain->width != width ||
        terrain->height != height || terrain->stride < width)
        return wait(state);

    const TerrainHash terrainHash = hashTerrain(memory, *terrain, width, height);
    if (terrainHash.unreadableRow) {
        const uint32_t row = *terrainHash.unreadableRow;
        const uint64_t address = uint64_t{terrain->pixels} + uint64_t{row} * terrain->stride;
        return wait(state, "map hash waiting: terrain row " + std::to_string(row) +
                               " is not readable at 0x" + hexLower(address));
    }
    state.terrainHash = terrainHash.hash;

    Geometry geometry = geometryFor(memory, world, landscape, width, height);
    state.geometryHash = std::move(geometry.hash);
    state.geometrySource = std::move(geometry.source);
    state.mapHash = state.geometryHash.empty() ? state.terrainHash : state.geometryHash;
    state.mapWidth = width;
    state.mapHeight = height;
    state.settled = true;

    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    logLine("loaded map terrain hash " + state.terrainHash + " (" + size + ")");
    if (!state.geometryHash.empty())
        logLine("loaded map geometry hash " + state.geometryHash + " (" + size + ", " +
                state.geometrySource + ")");
    return true;
}

}  // namespace tarvek
