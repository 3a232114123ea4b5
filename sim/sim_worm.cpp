#include "sim/sim_worm.h"

#include "host/host_layout.h"

namespace tarvek::sim {

namespace layout = host_layout;

SimWorm::SimWorm(SimHost& host, const SimWorld& world, uint32_t identityA, uint32_t identityB)
    : host_(host), address_(host.space().allocate(kObjectSize)) {
    setWorld(world.world());
    host_.space().writeU32(address_ + layout::worm::kIdentityA, identityA);
    host_.space().writeU32(address_ + layout::worm::kIdentityB, identityB);
}

void SimWorm::setWorld(HostAddr world) { host_.space().writeU32(address_ + layout::worm::kWorld, world); }

void SimWorm::setPosition(int32_t x, int32_t y) {
    host_.space().writeI32(address_ + layout::worm::kPositionX, x);
    host_.space().writeI32(address_ + layout::worm::kPositionY, y);
}

void SimWorm::setActive(bool active) { host_.space().writeU32(address_ + layout::worm::kActive, active ? 1 : 0); }

void SimWorm::setState(uint32_t state) { host_.space().writeU32(address_ + layout::worm::kState, state); }

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
    return worms_.emplace_back(host_, world_, identityA, identityB);
}

void SimGame::runFrame() {
    world_.setFrameCounter(world_.frameCounter() + 1);
    for (SimWorm& worm : worms_) worm.applyNextScriptedFrame();
    for (SimWorm& worm : worms_) host_.sendWormMessage(worm.address(), layout::message::kFrame);
    for (SimWorm& worm : worms_) host_.sendWormMessage(worm.address(), layout::message::kDraw);
}

void SimGame::runFrames(uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) runFrame();
}

}  // namespace tarvek::sim
