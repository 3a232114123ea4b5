#include "sim/sim_host.h"

#include "host/host_context.h"
#include "host/host_layout.h"
#include "sim/sim_image.h"

namespace tarvek::sim {

namespace image = host_layout::image;

SimHost::SimHost() {
    memory_.map(kHostBase, kHostImageSize, protection::ExecuteRead);
    layOutHostImage(memory_, kHostBase);
    bindHost(memory_, *this, kHostBase);
}

void SimHost::setSchemeTurnTime(int8_t rawByte) {
    memory_.pokeU8(kHostBase + image::kSchemeTurnTime, static_cast<uint8_t>(rawByte));
}

void SimHost::unmapScheme() {
    const HostAddr page = (kHostBase + image::kSchemeTurnTime) & ~(kPageSize - 1);
    memory_.setProtection(page, kPageSize, protection::NoAccess);
}

HostAddr SimHost::registerWormRoutine(WormRoutine routine) {
    const HostAddr address = kModuleRoutineBase + static_cast<HostAddr>(routines_.size()) * 0x10;
    routines_[address] = std::move(routine);
    return address;
}

void SimHost::sendWormMessage(HostAddr worm, uint32_t type, HostAddr sender, uint32_t size, HostAddr data) {
    const HostAddr handler = memory_.peekU32(kHostBase + image::kWormHandleMessageEntry);
    callWormHandler(handler, worm, sender, type, size, data);
}

void SimHost::clearCallRecords() {
    hostHandled_.clear();
    wormDraws_.clear();
    ropeDraws_.clear();
}

void SimHost::callWormHandler(HostAddr handler, HostAddr worm, HostAddr sender, uint32_t messageType, uint32_t size,
                              HostAddr data) {
    if (handler == kHostBase + image::kWormHandleMessage) {
        hostHandled_.push_back(WormMessage{handler, worm, sender, messageType, size, data});
        return;
    }
    const auto routine = routines_.find(handler);
    if (routine != routines_.end()) routine->second(worm, sender, messageType, size, data);
}

void SimHost::drawWorm(HostAddr wormImage) { wormDraws_.push_back(wormImage); }

void SimHost::drawRope(HostAddr worm, uint32_t colourEntry9, uint32_t colourEntry7) {
    ropeDraws_.push_back(RopeDraw{worm, colourEntry9, colourEntry7});
}

}  // namespace tarvek::sim
