#include "sim/sim_chat.h"

#include "host/host_layout.h"

namespace tarvek::sim {

namespace layout = host_layout;

SimChat::SimChat(SimHost& host, HostAddr world) : host_(host), object_(host.space().allocate(layout::chat::kReadableSpan)) {
    AddressSpace& space = host.space();
    space.writeU32(object_ + layout::chat::kPrintWord, kPrintWord);
    space.writeU32(object_ + layout::chat::kWorld, world);
    const HostAddr lookup = space.allocate(layout::chat::kLookupSpan);
    space.writeU32(lookup + layout::chat::kLookupChat, object_);
    space.writeU32(host.base() + layout::image::kChatLookup, lookup);
}

uint32_t SimChat::send(std::string_view text) {
    const HostAddr address = host_.space().allocate(static_cast<uint32_t>(text.size() + 1));
    host_.space().write(address, text.data(), text.size());
    return sendFrom(address);
}

uint32_t SimChat::sendFrom(HostAddr text) {
    SimCall call;
    call.ecx = object_;
    call.eax = text;
    call.stackArguments = {0};
    return host_.executeCallSite(host_.base() + layout::image::kChatSendCallSite, call);
}

std::vector<std::string> SimChat::printed() const {
    std::vector<std::string> lines;
    for (const ChatPrint& print : host_.chatPrints())
        if (print.chatObject == object_) lines.push_back(print.text);
    return lines;
}

}  // namespace tarvek::sim
