#include "sim/sim_host.h"

#include <cstdio>
#include <cstdlib>

#include "host/host_context.h"
#include "host/host_layout.h"
#include "sim/host_image_layout.h"

namespace tarvek::sim {

namespace image = host_layout::image;

SimHost::SimHost() : base_(layOutHostImage(space_)) { bindHost(memory_, *this, base_); }

void SimHost::setSchemeTurnTime(int8_t rawByte) {
    space_.writeU8(base_ + image::kSchemeTurnTime, static_cast<uint8_t>(rawByte));
}

void SimHost::unmapScheme() {
    const HostAddr page = (base_ + image::kSchemeTurnTime) & ~(kPageSize - 1);
    space_.protect(page, kPageSize, protection::NoAccess);
}

HostAddr SimHost::registerWormRoutine(WormRoutine routine) {
    const HostAddr address = kModuleRoutineBase + static_cast<HostAddr>(routines_.size()) * 0x10;
    routines_[address] = std::move(routine);
    return address;
}

HostAddr SimHost::patchWormHandler(HostAddr routine) {
    const HostAddr entry = base_ + image::kWormHandleMessageEntry;
    const HostAddr previous = space_.readU32(entry);
    space_.writeU32(entry, routine);
    return previous;
}

void SimHost::sendWormMessage(HostAddr worm, uint32_t type, HostAddr sender, uint32_t size, HostAddr data) {
    const HostAddr handler = space_.readU32(base_ + image::kWormHandleMessageEntry);
    callWormHandler(handler, worm, sender, type, size, data);
}

void SimHost::callWormHandler(HostAddr handler, HostAddr worm, HostAddr sender, uint32_t messageType, uint32_t size,
                              HostAddr data) {
    if (handler == base_ + image::kWormHandleMessage) {
        hostHandled_.push_back(WormMessage{handler, worm, sender, messageType, size, data});
        return;
    }
    const auto routine = routines_.find(handler);
    if (routine == routines_.end()) {
        // Aborting, not throwing: a hook's catch-all would swallow an exception and hide the fault.
        std::fprintf(stderr, "simulated host: call to unknown address 0x%08X\n", static_cast<unsigned>(handler));
        std::abort();
    }
    routine->second(worm, sender, messageType, size, data);
}

void SimHost::drawWorm(HostAddr wormImage) { wormDraws_.push_back(wormImage); }

void SimHost::drawRope(HostAddr worm, uint32_t colourEntry9, uint32_t colourEntry7) {
    ropeDraws_.push_back(RopeDraw{worm, colourEntry9, colourEntry7});
}

}  // namespace tarvek::sim
