#include "tools/support/map_image_hash.h"

#include "ghostdata/map_hash.h"
#include "sim/sim_address_space.h"
#include "sim/sim_bitmap.h"
#include "sim/sim_world.h"

namespace tarvek::tools {

using namespace sim;
namespace {

constexpr uint32_t kExtraStride = 4;
constexpr uint8_t kJunk = 0xA5;

}  // namespace

std::optional<std::string> geometryHashOfImage(const NetpbmImage& mask) {
    const uint32_t stride = (mask.width + 7) / 8 + kExtraStride;
    if (mask.width > kMaxMapSide || mask.height > kMaxMapSide || stride > kMaxMaskStride)
        return std::nullopt;
    SimMemory memory;
    SimAddressSpace space(memory);
    SimWorld world(space);
    const SimBitmap bitmap = placeBitmap(space, 1, mask.width, mask.height, stride,
                                         hostMaskRows(mask.rows, mask.width, mask.height, stride, kJunk));
    world.setCollisionMask(bitmap.object);
    MaskHash hash;
    if (!hashCollisionMask(memory, world.landscape(), hash)) return std::nullopt;
    return hash.hash;
}

std::optional<std::string> terrainHashOfImage(const NetpbmImage& terrain) {
    if (terrain.width < 1 || terrain.width > kMaxMapSide || terrain.height < 1 ||
        terrain.height > kMaxMapSide)
        return std::nullopt;
    const uint32_t stride = terrain.width + kExtraStride;
    SimMemory memory;
    SimAddressSpace space(memory);
    const SimBitmap bitmap = placeBitmap(space, 8, terrain.width, terrain.height, stride,
                                         paddedRows(terrain.rows, terrain.width, terrain.height, stride, kJunk));
    const std::optional<HostBitmap> object = readHostBitmap(memory, bitmap.object);
    if (!object) return std::nullopt;
    const TerrainHash hash = hashTerrain(memory, *object, terrain.width, terrain.height);
    if (hash.hash.empty()) return std::nullopt;
    return hash.hash;
}

}  // namespace tarvek::tools
