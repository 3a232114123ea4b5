#include "sim/sim_worm.h"

#include "host/host_layout.h"

namespace tarvek::sim {

namespace layout = host_layout;

SimWorm::SimWorm(AddressSpace& space, const SimWorld& world, uint32_t identityA, uint32_t identityB)
    : space_(space), address_(space.allocate(kObjectSize)) {
    setWorld(world.world());
    space_.writeU32(address_ + layout::worm::kIdentityA, identityA);
    space_.writeU32(address_ + layout::worm::kIdentityB, identityB);
}

void SimWorm::setWorld(HostAddr world) { space_.writeU32(address_ + layout::worm::kWorld, world); }

void SimWorm::setPosition(int32_t x, int32_t y) {
    space_.writeI32(address_ + layout::worm::kPositionX, x);
    space_.writeI32(address_ + layout::worm::kPositionY, y);
}

void SimWorm::setActive(bool active) { space_.writeU32(address_ + layout::worm::kActive, active ? 1 : 0); }

void SimWorm::setState(uint32_t state) { space_.writeU32(address_ + layout::worm::kState, state); }

void SimWorm::apply(const WormFrame& frame) {
    setPosition(frame.x, frame.y);
    setActive(frame.active);
    setState(frame.state);
}

void SimWorm::script(std::vector<WormFrame> frames) {
    script_ = std::move(frames);
    scriptCursor_ = 0;
}

void SimWorm::applyNextScriptedFrame() {
    if (script_.empty()) return;
    apply(script_[scriptCursor_]);
    if (scriptCursor_ + 1 < script_.size()) ++scriptCursor_;
}

SimWorm& SimGame::addWorm(uint32_t identityA, uint32_t identityB) {
    return worms_.emplace_back(space_, world_, identityA, identityB);
}

void SimGame::runFrame() {
    world_.setFrameCounter(world_.frameCounter() + 1);
    for (SimWorm& worm : worms_) worm.applyNextScriptedFrame();
    for (SimWorm& worm : worms_) send_(worm.address(), layout::message::kFrame);
    for (SimWorm& worm : worms_) send_(worm.address(), layout::message::kDraw);
}

void SimGame::runFrames(uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) runFrame();
}

}  // namespace tarvek::sim
