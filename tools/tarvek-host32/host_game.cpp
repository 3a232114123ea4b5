#include "tools/tarvek-host32/host_game.h"

#include "host/host_layout.h"
#include "sim/host_image_layout.h"
#include "sim/sim_chat.h"
#include "sim/sim_render_queue.h"
#include "tools/scenarios/race_course.h"
#include "tools/scenarios/race_screen.h"
#include "tools/tarvek-host32/game_routines.h"

namespace tarvek::host32 {
namespace {

namespace layout = host_layout;

HostAddr layOutGame(RealAddressSpace& space, const scenarios::Scenario& scenario) {
    const HostAddr base = sim::layOutHostImage(space);
    layOutGameRoutines(space, base);
    for (const auto& change : scenario.imageChanges)
        space.write(base + change.offset, change.bytes.data(), change.bytes.size());
    space.writeU8(base + layout::image::kSchemeTurnTime, static_cast<uint8_t>(scenario.schemeTurnTime));
    return base;
}

// The digits' colour: the game's normal selector.
constexpr uint32_t kTimerSelector = 7;

}  // namespace

HostGame::HostGame(const GameImage& image, const scenarios::Scenario& scenario)
    : space_(image),
      base_(layOutGame(space_, scenario)),
      world_(space_),
      calls_(space_, base_),
      chat_(sim::layOutChat(space_, base_, world_.world(), sim::SimChat::kPrintWord)),
      game_(space_, world_, [this](HostAddr worm, uint32_t type) { calls_.wormMessage(worm, type); }),
      display_(sim::layOutDisplay(space_, base_, scenarios::kCourseWidth, scenarios::kCourseHeight)),
      timer_(sim::layOutTurnTimer(space_, base_, world_, display_.display, 1, 0)),
      timerOut_(space_.allocate(4)),
      drawsTimer_(scenarios::turnTimerCodeKnown(space_, base_)) {
    scenarios::placeCourse(space_, world_);
    scenarios::attachRaceScreen(space_, world_, display_.display);
    for (const auto& worm : scenario.worms) game_.addWorm(worm.team, worm.worm).script(worm.frames);
}

void HostGame::loadMap() {
    calls_.loadLandDat(world_.landscape());
    calls_.initBorders(world_.landscape(), 0, 0, 0, 0);
}

void HostGame::runFrame() {
    game_.runFrame();
    marked_ = scenarios::countMarkedCommands(space_, space_.readU32(world_.world() + layout::world::kRenderQueue));
    sim::runRenderQueue(space_, calls_, world_.world());
    if (drawsTimer_) {
        timerPass_.update = calls_.timerUpdate(timer_.timer);
        timerPass_.team = calls_.timerTeam(timer_.timer, 1);
        timerPass_.render = calls_.timerRender(timer_, kTimerSelector, timerOut_);
    }
    calls_.displayFrameEnd(display_.display);
}

std::string HostGame::timerText() const { return scenarios::turnTimerText(space_, timer_); }

void HostGame::sendChat(const std::string& text) {
    const HostAddr address = space_.allocate(static_cast<uint32_t>(text.size() + 1));
    space_.write(address, text.c_str(), text.size() + 1);
    calls_.chatSend(chat_, address);
}

}  // namespace tarvek::host32
