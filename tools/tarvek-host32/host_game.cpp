#include "tools/tarvek-host32/host_game.h"

#include "host/host_layout.h"
#include "sim/host_image_layout.h"
#include "sim/sim_chat.h"
#include "tools/scenarios/race_course.h"
#include "tools/tarvek-host32/game_routines.h"

namespace tarvek::host32 {
namespace {

HostAddr layOutGame(RealAddressSpace& space, const scenarios::Scenario& scenario) {
    const HostAddr base = sim::layOutHostImage(space);
    layOutGameRoutines(space, base);
    for (const auto& change : scenario.imageChanges)
        space.write(base + change.offset, change.bytes.data(), change.bytes.size());
    space.writeU8(base + host_layout::image::kSchemeTurnTime, static_cast<uint8_t>(scenario.schemeTurnTime));
    return base;
}

}  // namespace

HostGame::HostGame(const GameImage& image, const scenarios::Scenario& scenario)
    : space_(image),
      base_(layOutGame(space_, scenario)),
      world_(space_),
      calls_(space_, base_),
      chat_(sim::layOutChat(space_, base_, world_.world(), sim::SimChat::kPrintWord)),
      game_(space_, world_, [this](HostAddr worm, uint32_t type) { calls_.wormMessage(worm, type); }) {
    scenarios::placeCourse(space_, world_);
    for (const auto& worm : scenario.worms) game_.addWorm(worm.team, worm.worm).script(worm.frames);
}

void HostGame::loadMap() {
    calls_.loadLandDat(world_.landscape());
    calls_.initBorders(world_.landscape(), 0, 0, 0, 0);
}

void HostGame::sendChat(const std::string& text) {
    const HostAddr address = space_.allocate(static_cast<uint32_t>(text.size() + 1));
    space_.write(address, text.c_str(), text.size() + 1);
    calls_.chatSend(chat_, address);
}

}  // namespace tarvek::host32
