#include "tools/scenarios/race_screen.h"

#include <vector>

#include "host/host_layout.h"
#include "sim/sim_palette.h"
#include "sim/sim_render_queue.h"
#include "sim/sim_scene.h"
#include "sim/sim_timer_routines.h"

namespace tarvek::scenarios {

namespace layout = host_layout;

void attachRaceScreen(sim::AddressSpace& space, sim::SimWorld& world, HostAddr display) {
    world.setFeedbackGates(0, 0);
    world.setWatchedPointer(display);
    sim::attachRenderQueue(space, world.world());
    sim::Palette palette;
    space.read(display + layout::display::kPalette, palette.data(), palette.size());
    const std::vector<uint32_t> colours = sim::sceneColourTable(palette);
    space.write(world.world() + layout::world::kColourTable, colours.data(), colours.size() * 4);
}

bool turnTimerCodeKnown(const sim::AddressSpace& space, HostAddr base) {
    namespace image = layout::image;
    for (const uint32_t site : {image::kTurnTimerColourACallSite, image::kTurnTimerColourBCallSite, image::kTurnTimerDrawCallSite}) {
        uint8_t opcode = 0;
        space.read(base + site, &opcode, 1);
        if (opcode != image::kCallOpcode) return false;
    }
    return true;
}

std::string turnTimerText(const sim::AddressSpace& space, const sim::TurnTimerObjects& timer) {
    return "box colour " + std::to_string(space.readU32(timer.timer + sim::sim_timer::kBoxColour)) + ", digits selector " +
           std::to_string(space.readU32(timer.renderer + sim::sim_timer::kRendererSelector));
}

}  // namespace tarvek::scenarios
