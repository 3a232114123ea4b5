#include "sim/sim_host.h"

#include <cstring>
#include <stdexcept>

#include "host/host_context.h"
#include "host/host_layout.h"
#include "host/text.h"
#include "sim/sim_timer_routines.h"
#include "sim/sim_worm_drawing.h"

namespace tarvek::sim {

namespace image = host_layout::image;

SimHost::SimHost() {
    memory_.map(kHostBase, kHostImageSize, protection::ExecuteRead);
    memory_.pokeU32(kHostBase + image::kWormHandleMessageEntry, kHostBase + image::kWormHandleMessage);
    for (uint32_t slot = 0; slot < kDisplaySlots; ++slot)
        memory_.pokeU32(kHostBase + image::kDisplayClassTable + slot * 4, hostDisplayRoutine(slot));
    redirectCallSite(kHostBase + image::kChatSendSite, kHostBase + image::kChatSend);
    // The game's chat-send routine: chat object in ECX, text in EAX, one stack argument.
    defineHostRoutine(kHostBase + image::kChatSend, [this](SimCall& call) {
        std::string text;
        for (HostAddr at = call.eax; at != 0; ++at) {
            const auto byte = memory_.readU8(at);
            if (!byte || *byte == 0) break;
            text.push_back(static_cast<char>(*byte));
        }
        chatSends_.push_back(std::move(text));
        return 1u;
    });
    defineTimerCode(*this);
    bindHost(memory_, *this, kHostBase);
}

void SimHost::setSchemeTurnTime(int8_t rawByte) {
    memory_.pokeU8(kHostBase + image::kSchemeTurnTime, static_cast<uint8_t>(rawByte));
}

void SimHost::unmapScheme() {
    const HostAddr page = (kHostBase + image::kSchemeTurnTime) & ~(kPageSize - 1);
    memory_.setProtection(page, kPageSize, protection::NoAccess);
}

HostAddr SimHost::nextRoutineAddress() {
    const HostAddr address = nextRoutine_;
    nextRoutine_ += 0x10;
    return address;
}

HostAddr SimHost::replaceTableEntry(HostAddr entry, HostAddr routine) {
    const HostAddr previous = memory_.peekU32(entry);
    memory_.pokeU32(entry, routine);
    return previous;
}

HostAddr SimHost::patchWormHandler(HostAddr routine) {
    return replaceTableEntry(kHostBase + image::kWormHandleMessageEntry, routine);
}

void SimHost::defineHostRoutine(HostAddr address, CodeRoutine routine) { code_[address] = std::move(routine); }

HostAddr SimHost::registerCodeRoutine(CodeRoutine routine) {
    const HostAddr address = nextRoutineAddress();
    code_[address] = std::move(routine);
    return address;
}

uint32_t SimHost::callCode(HostAddr target, SimCall& call) {
    const auto routine = code_.find(target);
    if (routine == code_.end()) throw std::logic_error("simulated host: call to 0x" + hexLower(target) + ", where no code is");
    return routine->second(call);
}

uint32_t SimHost::executeCallSite(HostAddr site, SimCall& call) {
    uint8_t bytes[5];
    if (!memory_.read(site, bytes, sizeof bytes) || bytes[0] != 0xE8)
        throw std::logic_error("simulated host: no call instruction at 0x" + hexLower(site));
    int32_t displacement;
    std::memcpy(&displacement, bytes + 1, 4);
    return callCode(site + 5 + static_cast<uint32_t>(displacement), call);
}

HostAddr SimHost::redirectCallSite(HostAddr site, HostAddr routine) {
    const HostAddr previous = site + 5 + memory_.peekU32(site + 1);
    memory_.pokeU8(site, 0xE8);
    memory_.pokeU32(site + 1, routine - (site + 5));
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
    chatPrints_.clear();
    chatSends_.clear();
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

void SimHost::printChatLine(HostAddr routine, HostAddr chatObject, uint32_t printWord, const char* text) {
    if (routine != kHostBase + image::kChatPrint)
        throw std::logic_error("simulated host: chat print through 0x" + hexLower(routine));
    chatPrints_.push_back(ChatPrint{routine, chatObject, printWord, text});
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
