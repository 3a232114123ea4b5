#include "catalog/chat_output.h"

#include <atomic>
#include <string>

#include "host/host_context.h"
#include "host/host_layout.h"

namespace tarvek {
namespace {

namespace layout = host_layout;

std::atomic<HostAddr> printRoutine{0};

bool chatBelongsTo(const HostMemory& memory, HostAddr chat, HostAddr world) {
    if (chat == 0 || !memory.isReadable(chat, layout::chat::kReadableSpan)) return false;
    const auto owner = memory.readU32(chat + layout::chat::kWorld);
    return owner && *owner == world;
}

// The game's current chat object, found through the chat lookup pointer of the image.
HostAddr currentChatObject(const HostMemory& memory) {
    const auto lookup = memory.readU32(hostBase() + layout::image::kChatLookup);
    if (!lookup || !memory.isReadable(*lookup, layout::chat::kLookupSpan)) return 0;
    return memory.readU32(*lookup + layout::chat::kLookupChat).value_or(0);
}

}  // namespace

HostAddr& chatTargetObject() {
    static HostAddr target = 0;
    return target;
}

void setChatPrintRoutine(HostAddr routine) { printRoutine.store(routine); }
HostAddr chatPrintRoutine() { return printRoutine.load(); }

void postChatLine(std::string_view text, HostAddr world) {
    const HostMemory& memory = hostMemory();
    HostAddr chat = chatTargetObject();
    if (world != 0 && !chatBelongsTo(memory, chat, world)) {
        chat = currentChatObject(memory);
        if (!chatBelongsTo(memory, chat, world)) return;
        chatTargetObject() = chat;
    }
    if (chat == 0 || !memory.isReadable(chat, layout::chat::kPrintSpan)) return;
    const HostAddr routine = chatPrintRoutine();
    const auto printWord = memory.readU32(chat + layout::chat::kPrintWord);
    if (routine == 0 || !printWord) return;
    const std::string line(text);  // NUL-terminated for the host
    hostCalls().printChatLine(routine, chat, *printWord, line.c_str());
}

}  // namespace tarvek
