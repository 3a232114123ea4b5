#pragma once
// The world's render queue: filled by the game's drawing routines, then run through the display
// object's class table, entry by entry, so whatever the module put in that table is what draws.
#include <cstdint>
#include <vector>

#include "host/host_calls.h"
#include "sim/address_space.h"

namespace tarvek::sim {

class SimHost;

// Allocates an empty queue and links it to the world (+0x524).
HostAddr attachRenderQueue(AddressSpace& space, HostAddr world);
void clearRenderQueue(AddressSpace& memory, HostAddr queue);

// Places one command the way the game does; false (nothing written) when the queue is full.
bool pushRenderCommand(AddressSpace& memory, HostAddr queue, const std::vector<uint8_t>& command);

uint32_t renderQueueCount(const AddressSpace& memory, HostAddr queue);
HostAddr renderCommand(const AddressSpace& memory, HostAddr queue, uint32_t index);

// Command builders (16.16 coordinates).
std::vector<uint8_t> spriteCommand(uint32_t type, int32_t x, int32_t y, uint32_t sprite, uint32_t flags);
struct Point16 {
    int32_t x = 0;
    int32_t y = 0;
};
std::vector<uint8_t> thinLineCommand(uint32_t colour, const std::vector<Point16>& points);
std::vector<uint8_t> wideLineCommand(uint32_t colour, uint32_t width, const std::vector<Point16>& points);

// Runs every queued command of the world's queue on the world's display through the display's
// class table, calling each entry as the game does, and empties the queue.
void runRenderQueue(AddressSpace& memory, HostCalls& host, HostAddr world);
// The display's frame-end entry (slot 26), called once the frame is drawn.
void endDisplayFrame(SimHost& host, HostAddr display);

}  // namespace tarvek::sim
