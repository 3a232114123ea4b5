#include "sim/sim_timer.h"

#include <string>

#include "host/host_layout.h"
#include "sim/sim_display.h"
#include "sim/sim_timer_routines.h"

namespace tarvek::sim {

namespace layout = host_layout;

TurnTimerObjects layOutTurnTimer(AddressSpace& space, HostAddr base, SimWorld& world, HostAddr display, uint32_t team,
                                 uint8_t colourIndex) {
    TurnTimerObjects objects{space.allocate(sim_timer::kObjectSize), space.allocate(sim_timer::kRendererSize),
                             space.allocate(16)};
    space.writeU32(objects.timer, base + layout::image::kTurnTimerClassTable);
    space.writeU32(objects.timer + layout::turn_timer::kWorld, world.world());
    space.writeU32(objects.timer + layout::turn_timer::kTeam, team);
    space.writeU32(objects.timer + sim_timer::kRenderer, objects.renderer);
    space.writeU32(objects.renderer + layout::turn_timer_draw::kDisplay, display);
    space.writeU8(world.gameState() + team * layout::game_state::kTeamRecordSize - layout::game_state::kTeamColourBack,
                  colourIndex);
    writeTimerSeconds(space, objects.text, 0);
    return objects;
}

void writeTimerSeconds(AddressSpace& space, HostAddr text, uint32_t seconds) {
    const std::string digits = std::to_string(seconds);
    space.write(text, digits.c_str(), digits.size() + 1);
}

SimTurnTimer::SimTurnTimer(SimHost& host, SimWorld& world, HostAddr display, uint32_t team, uint8_t colourIndex)
    : host_(host), display_(display), team_(team) {
    const TurnTimerObjects objects = layOutTurnTimer(host.space(), host.base(), world, display, team, colourIndex);
    timer_ = objects.timer;
    renderer_ = objects.renderer;
    text_ = objects.text;
}

void SimTurnTimer::setSeconds(uint32_t seconds) { writeTimerSeconds(host_.space(), text_, seconds); }

uint32_t SimTurnTimer::redraws() const { return host_.memory().peekU32(timer_ + sim_timer::kRedraws); }

uint32_t SimTurnTimer::lastBoxColour() const { return host_.memory().peekU32(timer_ + sim_timer::kBoxColour); }

uint32_t SimTurnTimer::renderedColourSelector() const {
    return host_.memory().peekU32(renderer_ + sim_timer::kRendererSelector);
}

void SimTurnTimer::runFrame() {
    AddressSpace& memory = host_.space();
    const HostAddr base = host_.base();
    SimCall update;
    update.ecx = timer_;
    host_.executeCallSite(base + layout::image::kTurnTimerColourACallSite, update);
    SimCall team;
    team.eax = timer_;
    team.edx = team_;
    host_.executeCallSite(base + layout::image::kTurnTimerColourBCallSite, team);
    SimCall render;
    render.stackArguments = {renderer_, text_, 7, 0, 0, 0};
    const HostAddr bitmap = host_.executeCallSite(base + layout::image::kTurnTimerDrawCallSite, render);

    const Canvas8 canvas = surfaceCanvas(memory, display_);
    const ClipRect box{4, canvas.clip.bottom - kBoxHeight - 4, 4 + kBoxWidth, canvas.clip.bottom - 4};
    fillRect(canvas, box, static_cast<uint8_t>(lastBoxColour()));
    if (bitmap == 0) return;
    const auto width = static_cast<int32_t>(memory.readU32(bitmap + layout::bitmap::kWidth));
    const auto height = static_cast<int32_t>(memory.readU32(bitmap + layout::bitmap::kHeight));
    const uint32_t stride = memory.readU32(bitmap + layout::bitmap::kStride);
    const uint8_t* pixels = memory.span(memory.readU32(bitmap + layout::bitmap::kPixels), size_t(stride) * size_t(height));
    blitOver(canvas, box.left + (kBoxWidth - width) / 2, box.top + (kBoxHeight - height) / 2, pixels, stride, width,
             height, false, nullptr);
}

}  // namespace tarvek::sim
