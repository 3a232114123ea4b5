#pragma once
// The game's chat of one world: a chat object that the image's chat lookup pointer leads to, and
// the local player sending a line through the chat-send call site.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/sim_host.h"

namespace tarvek::sim {

// Lays out a chat object of the world and points the image's chat lookup at it; returns the
// object. Shared by every host that plays the game's chat.
HostAddr layOutChat(AddressSpace& space, HostAddr base, HostAddr world, uint32_t printWord);

class SimChat {
public:
    static constexpr uint32_t kPrintWord = 0x00C4A7;  // the object's word at +0x298

    SimChat(SimHost& host, HostAddr world);

    HostAddr object() const { return object_; }
    // Places the text (NUL-terminated) in host memory and sends it; returns the call's EAX.
    uint32_t send(std::string_view text);
    // Sends the text at a host address as it stands.
    uint32_t sendFrom(HostAddr text);
    // The lines printed into this chat object, in order.
    std::vector<std::string> printed() const;

private:
    SimHost& host_;
    HostAddr object_;
};

}  // namespace tarvek::sim
