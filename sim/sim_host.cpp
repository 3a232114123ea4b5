#include "sim/sim_host.h"

#include <cstring>

#include "host/host_context.h"
#include "host/host_layout.h"
#include "sim/sim_timer_routines.h"
#include "sim/sim_worm_drawing.h"

namespace tarvek::sim {

namespace image = host_layout::image;

SimHost::SimHost() {
    memory_.map(kHostBase, kHostImageSize, protection::ExecuteRead);
    memory_.pokeU32(kHostBase + image::kWormHandleMessageEntry, kHostBase + image::kWormHandleMessage);
    for (uint32_t slot = 0; slot < kDisplaySlots; ++slot)
        memory_.pokeU32(kHostBase + image::kDisplayClassTable + slot * 4, hostDisplayRoutine(slot));
    layoutTimerCallSites(memory_, kHostBase);
    bindHost(memory_, *this, kHostBase);
}

void SimHost::setSchemeTurnTime(int8_t rawByte) {
    memory_.pokeU8(kHostBase + image::kSchemeTurnTime, static_cast<uint8_t>(rawByte));
}

void SimHost::unmapScheme() {
    const HostAddr page = (kHostBase + image::kSchemeTurnTime) & ~(kPageSize - 1);
    memory_.setProtection(page, kPageSize, protection::NoAccess);
}

HostAddr SimHost::replaceTableEntry(HostAddr entry, HostAddr routine) {
    const HostAddr previous = memory_.peekU32(entry);
    memory_.pokeU32(entry, routine);
    return previous;
}

HostAddr SimHost::patchWormHandler(HostAddr routine) {
    return replaceTableEntry(kHostBase + image::kWormHandleMessageEntry, routine);
}

HostAddr SimHost::replaceCallTarget(HostAddr site, HostAddr routine) {
    const HostAddr previous = callSiteTarget(memory_, site);
    const uint32_t displacement = routine - (site + 5);
    memory_.poke(site + 1, &displacement, 4);
    return previous;
}

void SimHost::sendWormMessage(HostAddr worm, uint32_t type, HostAddr sender, uint32_t size, HostAddr data) {
    const HostAddr handler = memory_.peekU32(kHostBase + image::kWormHandleMessageEntry);
    callWormHandler(handler, worm, sender, type, size, data);
}

void SimHost::clearCallRecords() {
    hostHandled_.clear();
    wormDraws_.clear();
    ropeDraws_.clear();
    framesEnded_ = 0;
}

void SimHost::callWormHandler(HostAddr handler, HostAddr worm, HostAddr sender, uint32_t messageType, uint32_t size,
                              HostAddr data) {
    if (handler == kHostBase + image::kWormHandleMessage) {
        hostHandled_.push_back(WormMessage{handler, worm, sender, messageType, size, data});
        return;
    }
    if (const auto* routine = routines_.worm.find(handler)) (*routine)(worm, sender, messageType, size, data);
}

void SimHost::drawWorm(HostAddr wormImage) {
    wormDraws_.push_back(wormImage);
    hostDrawWorm(memory_, wormImage);
}

void SimHost::drawRope(HostAddr worm, uint32_t colourEntry9, uint32_t colourEntry7) {
    ropeDraws_.push_back(RopeDraw{worm, colourEntry9, colourEntry7});
    hostDrawRope(memory_, worm, colourEntry9, colourEntry7);
}

}  // namespace tarvek::sim
