#include "sim/sim_render_queue.h"

#include <cstring>

#include "host/host_layout.h"
#include "sim/sim_host.h"

namespace tarvek::sim {
namespace {

namespace queue = host_layout::render_queue;
namespace display_table = host_layout::display_table;

void putWord(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    if (bytes.size() < offset + 4) bytes.resize(offset + 4);
    std::memcpy(bytes.data() + offset, &value, 4);
}

std::vector<uint8_t> lineCommand(uint32_t type, uint32_t colour, uint32_t pointsAt, const std::vector<Point16>& points) {
    std::vector<uint8_t> bytes(pointsAt + points.size() * 8);
    putWord(bytes, queue::kEntryType, type);
    putWord(bytes, queue::kLineCount, static_cast<uint32_t>(points.size()));
    putWord(bytes, queue::kLineColour, colour);
    for (size_t i = 0; i < points.size(); ++i) {
        putWord(bytes, pointsAt + i * 8, static_cast<uint32_t>(points[i].x));
        putWord(bytes, pointsAt + i * 8 + 4, static_cast<uint32_t>(points[i].y));
    }
    return bytes;
}

HostAddr entryRoutine(const AddressSpace& memory, HostAddr table, uint32_t tableOffset) {
    return memory.readU32(table + tableOffset);
}

void runLineCommand(const AddressSpace& memory, HostCalls& host, HostAddr displayObject, HostAddr table,
                    HostAddr command, uint32_t type) {
    const uint32_t count = memory.readU32(command + queue::kLineCount);
    const bool wide = type == queue::kLineTypeB;
    const HostAddr points = command + (wide ? queue::kWideLinePoints : queue::kThinLinePoints);
    for (uint32_t i = 0; i + 1 < count; ++i) {
        const auto x1 = static_cast<int32_t>(memory.readU32(points + i * 8));
        const auto y1 = static_cast<int32_t>(memory.readU32(points + i * 8 + 4));
        const auto x2 = static_cast<int32_t>(memory.readU32(points + i * 8 + 8));
        const auto y2 = static_cast<int32_t>(memory.readU32(points + i * 8 + 12));
        if (wide) {
            // Even segments in the first colour word, odd ones in the second.
            const uint32_t colour = memory.readU32(command + (i % 2 ? queue::kLineColourRepeat : queue::kLineColour));
            host.callDisplayWideLine(entryRoutine(memory, table, display_table::kLineDraw6), displayObject, x1, y1, x2,
                                     y2, colour, memory.readU32(command + queue::kWideLineWidth));
        } else {
            host.callDisplayThinLine(entryRoutine(memory, table, display_table::kLineDraw5), displayObject, x1, y1, x2,
                                     y2, memory.readU32(command + queue::kLineColour));
        }
    }
}

}  // namespace

HostAddr attachRenderQueue(AddressSpace& space, HostAddr world) {
    const HostAddr address = space.allocate(queue::kObjectSize);
    clearRenderQueue(space, address);
    space.writeU32(world + host_layout::world::kRenderQueue, address);
    return address;
}

void clearRenderQueue(AddressSpace& memory, HostAddr address) {
    memory.writeU32(address + queue::kFreeSpace, queue::kCommandAreaSize);
    memory.writeU32(address + queue::kCount, 0);
}

bool pushRenderCommand(AddressSpace& memory, HostAddr address, const std::vector<uint8_t>& command) {
    const uint32_t free = memory.readU32(address + queue::kFreeSpace);
    const uint32_t count = memory.readU32(address + queue::kCount);
    const auto size = static_cast<uint32_t>((command.size() + 3) / 4 * 4);
    if (count >= queue::kMaxEntries || free < size || free > queue::kCommandAreaSize) return false;
    const HostAddr at = address + queue::kCommandArea + free - size;
    memory.write(at, command.data(), command.size());
    memory.writeU32(address + queue::kEntries + count * 4, at);
    memory.writeU32(address + queue::kFreeSpace, free - size);
    memory.writeU32(address + queue::kCount, count + 1);
    return true;
}

uint32_t renderQueueCount(const AddressSpace& memory, HostAddr address) { return memory.readU32(address + queue::kCount); }

HostAddr renderCommand(const AddressSpace& memory, HostAddr address, uint32_t index) {
    return memory.readU32(address + queue::kEntries + index * 4);
}

std::vector<uint8_t> spriteCommand(uint32_t type, int32_t x, int32_t y, uint32_t sprite, uint32_t flags) {
    std::vector<uint8_t> bytes(queue::kSpriteCommandSize);
    putWord(bytes, queue::kEntryType, type);
    putWord(bytes, queue::kSpriteX, static_cast<uint32_t>(x));
    putWord(bytes, queue::kSpriteY, static_cast<uint32_t>(y));
    putWord(bytes, queue::kSpriteWord, sprite);
    putWord(bytes, queue::kSpriteFlags, flags);
    return bytes;
}

std::vector<uint8_t> thinLineCommand(uint32_t colour, const std::vector<Point16>& points) {
    return lineCommand(queue::kLineTypeA, colour, queue::kThinLinePoints, points);
}

std::vector<uint8_t> wideLineCommand(uint32_t colour, uint32_t width, const std::vector<Point16>& points) {
    std::vector<uint8_t> bytes = lineCommand(queue::kLineTypeB, colour, queue::kWideLinePoints, points);
    putWord(bytes, queue::kLineColourRepeat, colour);
    putWord(bytes, queue::kWideLineWidth, width);
    return bytes;
}

void runRenderQueue(AddressSpace& memory, HostCalls& host, HostAddr world) {
    const HostAddr address = memory.readU32(world + host_layout::world::kRenderQueue);
    const HostAddr displayObject = memory.readU32(world + host_layout::world::kDisplay);
    const HostAddr table = memory.readU32(displayObject + host_layout::display::kClassTable);
    const uint32_t count = renderQueueCount(memory, address);
    for (uint32_t i = 0; i < count && i < queue::kMaxEntries; ++i) {
        const HostAddr command = renderCommand(memory, address, i);
        const uint32_t type = memory.readU32(command + queue::kEntryType);
        if (type == queue::kSpriteTypeA || type == queue::kSpriteTypeB) {
            const uint32_t mirror = type == queue::kSpriteTypeB ? 1 : 0;
            host.callDisplaySprite(entryRoutine(memory, table, display_table::kSpriteDraw), displayObject,
                                   static_cast<int32_t>(memory.readU32(command + queue::kSpriteX)),
                                   static_cast<int32_t>(memory.readU32(command + queue::kSpriteY)),
                                   memory.readU32(command + queue::kSpriteFlags) | mirror,
                                   memory.readU32(command + queue::kSpriteWord));
        } else if (type == queue::kLineTypeA || type == queue::kLineTypeB) {
            runLineCommand(memory, host, displayObject, table, command, type);
        }
    }
    clearRenderQueue(memory, address);
}

void endDisplayFrame(SimHost& host, HostAddr displayObject) {
    const AddressSpace& memory = host.space();
    const HostAddr table = memory.readU32(displayObject + host_layout::display::kClassTable);
    host.callDisplayFrameEnd(entryRoutine(memory, table, display_table::kOverlay), displayObject);
}

}  // namespace tarvek::sim
