#include "sim/sim_worm_drawing.h"

#include <vector>

#include "host/host_layout.h"
#include "sim/sim_render_queue.h"
#include "sim/sim_sprites.h"

namespace tarvek::sim {
namespace {

namespace layout = host_layout;

HostAddr queueOf(const AddressSpace& memory, HostAddr worm) {
    const HostAddr world = memory.readU32(worm + layout::worm::kWorld);
    return world ? memory.readU32(world + layout::world::kRenderQueue) : 0;
}

}  // namespace

void hostDrawWorm(AddressSpace& memory, HostAddr worm) {
    const HostAddr queue = queueOf(memory, worm);
    if (!queue) return;
    const HostAddr world = memory.readU32(worm + layout::worm::kWorld);
    const uint32_t colourIndex = memory.readU32(worm + layout::worm_image::kColourIndex);
    const uint8_t team = colourIndex < 10
                             ? static_cast<uint8_t>(memory.readU32(world + layout::world::kTeamColours + colourIndex * 4))
                             : 0;
    pushRenderCommand(memory, queue,
                      spriteCommand(layout::render_queue::kSpriteTypeA,
                                    static_cast<int32_t>(memory.readU32(worm + layout::worm::kPositionX)),
                                    static_cast<int32_t>(memory.readU32(worm + layout::worm::kPositionY)),
                                    spriteWord(kWormSprite, team), 0));
}

void hostDrawRope(AddressSpace& memory, HostAddr worm, uint32_t colourEntry9, uint32_t colourEntry7) {
    namespace image = layout::worm_image;
    const HostAddr queue = queueOf(memory, worm);
    const uint32_t anchors = memory.readU32(worm + image::kRopeSegmentCount);
    const HostAddr data = memory.readU32(worm + image::kRopeData);
    if (!queue || !data || anchors == 0 || anchors > image::kMaxRopeSegments) return;
    std::vector<Point16> points;
    for (uint32_t i = 0; i < anchors; ++i)
        points.push_back({static_cast<int32_t>(memory.readU32(data + i * 8)),
                          static_cast<int32_t>(memory.readU32(data + i * 8 + 4))});
    points.push_back({static_cast<int32_t>(memory.readU32(worm + layout::worm::kPositionX)),
                      static_cast<int32_t>(memory.readU32(worm + layout::worm::kPositionY))});
    pushRenderCommand(memory, queue, wideLineCommand(colourEntry9, 3, points));
    pushRenderCommand(memory, queue, thinLineCommand(colourEntry7, points));
}

void hostDrawLiveWorm(AddressSpace& memory, HostAddr worm) {
    hostDrawWorm(memory, worm);
    const HostAddr world = memory.readU32(worm + layout::worm::kWorld);
    if (world == 0 || memory.readU32(worm + layout::worm_image::kOnRope) == 0) return;
    hostDrawRope(memory, worm, memory.readU32(world + layout::world::kWormColourEntry9),
                 memory.readU32(world + layout::world::kWormColourEntry7));
}

}  // namespace tarvek::sim
