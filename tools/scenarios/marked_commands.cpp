#include "tools/scenarios/marked_commands.h"

#include <cstdio>

#include "host/host_layout.h"
#include "presentation/render_tags.h"
#include "sim/sim_render_queue.h"

namespace tarvek::scenarios {
namespace {

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", value);
    return text;
}

}  // namespace

MarkedCommands countMarkedCommands(const sim::AddressSpace& space, HostAddr renderQueue) {
    namespace queue = host_layout::render_queue;
    MarkedCommands marked;
    const uint32_t count = sim::renderQueueCount(space, renderQueue);
    for (uint32_t i = 0; i < count && i < queue::kMaxEntries; ++i) {
        const HostAddr command = sim::renderCommand(space, renderQueue, i);
        const uint32_t type = space.readU32(command + queue::kEntryType);
        if (type == queue::kSpriteTypeA || type == queue::kSpriteTypeB) {
            const uint32_t flags = space.readU32(command + queue::kSpriteFlags);
            if (flags & sprite_flags::kGoldGhost) ++marked.goldSprites, marked.goldFlags |= flags & ~0xFFFFu;
            if (flags & sprite_flags::kBlueGhost) ++marked.blueSprites, marked.blueFlags |= flags & ~0xFFFFu;
        } else if (type == queue::kLineTypeA || type == queue::kLineTypeB) {
            const uint32_t colour = space.readU32(command + queue::kLineColour);
            if (isLineTag(colour)) ++(decodeLineTag(colour).isBlue ? marked.blueLines : marked.goldLines);
        }
    }
    return marked;
}

std::string markedText(const MarkedCommands& m) {
    return "gold " + std::to_string(m.goldSprites) + " sprite(s) " + hex(m.goldFlags) + " " + std::to_string(m.goldLines) +
           " line(s), blue " + std::to_string(m.blueSprites) + " sprite(s) " + hex(m.blueFlags) + " " +
           std::to_string(m.blueLines) + " line(s)";
}

}  // namespace tarvek::scenarios
