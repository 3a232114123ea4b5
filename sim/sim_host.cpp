#include "sim/sim_host.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/host_context.h"
#include "host/host_layout.h"
#include "sim/host_image_layout.h"
#include "sim/sim_timer_routines.h"
#include "sim/sim_worm_drawing.h"

namespace tarvek::sim {

namespace image = host_layout::image;

void callIntoNowhere(HostAddr address) {
    // Aborting, not throwing: a hook's catch-all would swallow an exception and hide the fault.
    std::fprintf(stderr, "simulated host: call to unknown address 0x%08X\n", static_cast<unsigned>(address));
    std::abort();
}

SimHost::SimHost() : base_(layOutHostImage(space_)) {
    // The game's chat-send routine: chat object in ECX, text in EAX, one stack argument.
    defineHostRoutine(base_ + image::kChatSend, [this](SimCall& call) {
        std::string text;
        for (HostAddr at = call.eax; at != 0; ++at) {
            const auto byte = memory_.readU8(at);
            if (!byte || *byte == 0) break;
            text.push_back(static_cast<char>(*byte));
        }
        chatSends_.push_back(std::move(text));
        return 1u;
    });
    defineTimerRoutines(*this);
    bindHost(memory_, *this, base_);
}

void SimHost::setSchemeTurnTime(int8_t rawByte) {
    space_.writeU8(base_ + image::kSchemeTurnTime, static_cast<uint8_t>(rawByte));
}

void SimHost::unmapScheme() {
    const HostAddr page = (base_ + image::kSchemeTurnTime) & ~(kPageSize - 1);
    space_.protect(page, kPageSize, protection::NoAccess);
}

HostAddr SimHost::nextRoutineAddress() {
    const HostAddr address = nextRoutine_;
    nextRoutine_ += 0x10;
    return address;
}

void SimHost::defineHostRoutine(HostAddr address, CodeRoutine routine) { code_[address] = std::move(routine); }

HostAddr SimHost::registerCodeRoutine(CodeRoutine routine) {
    const HostAddr address = nextRoutineAddress();
    code_[address] = std::move(routine);
    return address;
}

uint32_t SimHost::callCode(HostAddr target, SimCall& call) {
    const auto routine = code_.find(target);
    if (routine == code_.end()) callIntoNowhere(target);
    return routine->second(call);
}

uint32_t SimHost::executeCallSite(HostAddr site, SimCall& call) {
    uint8_t bytes[image::kCallSiteSize];
    if (!memory_.read(site, bytes, sizeof bytes) || bytes[0] != image::kCallOpcode) callIntoNowhere(site);
    int32_t displacement;
    std::memcpy(&displacement, bytes + 1, 4);
    return callCode(site + image::kCallSiteSize + static_cast<uint32_t>(displacement), call);
}

void SimHost::sendWormMessage(HostAddr worm, uint32_t type, HostAddr sender, uint32_t size, HostAddr data) {
    const HostAddr handler = space_.readU32(base_ + image::kWormHandleMessageEntry);
    callWormHandler(handler, worm, sender, type, size, data);
}

void SimHost::clearCallRecords() {
    hostHandled_.clear();
    wormDraws_.clear();
    ropeDraws_.clear();
    chatPrints_.clear();
    chatSends_.clear();
    framesEnded_ = 0;
}

void SimHost::callWormHandler(HostAddr handler, HostAddr worm, HostAddr sender, uint32_t messageType, uint32_t size,
                              HostAddr data) {
    if (handler == base_ + image::kWormHandleMessage) {
        hostHandled_.push_back(WormMessage{handler, worm, sender, messageType, size, data});
        // The game's own drawing pass: the worm and, while it hangs on one, its rope.
        if (messageType == host_layout::message::kDraw) hostDrawLiveWorm(space_, worm);
        return;
    }
    const auto* routine = routines_.worm.find(handler);
    if (!routine) callIntoNowhere(handler);
    (*routine)(worm, sender, messageType, size, data);
}

void SimHost::printChatLine(HostAddr routine, HostAddr chatObject, uint32_t printWord, const char* text) {
    if (routine != base_ + image::kChatPrint) callIntoNowhere(routine);
    chatPrints_.push_back(ChatPrint{routine, chatObject, printWord, text});
}

void SimHost::drawWorm(HostAddr wormImage) {
    wormDraws_.push_back(wormImage);
    hostDrawWorm(space_, wormImage);
}

void SimHost::drawRope(HostAddr worm, uint32_t colourEntry9, uint32_t colourEntry7) {
    ropeDraws_.push_back(RopeDraw{worm, colourEntry9, colourEntry7});
    hostDrawRope(space_, worm, colourEntry9, colourEntry7);
}

}  // namespace tarvek::sim
