#include "sim/sim_chat.h"

#include "host/host_layout.h"

namespace tarvek::sim {

namespace layout = host_layout;

HostAddr layOutChat(AddressSpace& space, HostAddr base, HostAddr world, uint32_t printWord) {
    const HostAddr object = space.allocate(layout::chat::kReadableSpan);
    space.writeU32(object + layout::chat::kPrintWord, printWord);
    space.writeU32(object + layout::chat::kWorld, world);
    const HostAddr lookup = space.allocate(layout::chat::kLookupSpan);
    space.writeU32(lookup + layout::chat::kLookupChat, object);
    space.writeU32(base + layout::image::kChatLookup, lookup);
    return object;
}

SimChat::SimChat(SimHost& host, HostAddr world)
    : host_(host), object_(layOutChat(host.space(), host.base(), world, kPrintWord)) {}

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
