#pragma once
// Calls from the module into host code, one method per call contract. The DLL implements them
// with typed function pointers and register thunks; the simulated host dispatches by address.
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

class HostCalls {
public:
    virtual ~HostCalls() = default;

    // A worm message handler (the host's own or another module's) at address handler, called as
    // a member of worm with the message arguments in the host's order.
    virtual void callWormHandler(HostAddr handler, HostAddr worm, HostAddr sender, uint32_t messageType,
                                 uint32_t size, HostAddr data) = 0;
    // Draws the worm object at wormImage (host worm drawing routine, worm in EAX).
    virtual void drawWorm(HostAddr wormImage) = 0;
    // Draws the rope of worm with the two colour entries (callee removes the three arguments).
    virtual void drawRope(HostAddr worm, uint32_t colourEntry9, uint32_t colourEntry7) = 0;
    // Writes one line into the game's chat: the chat print routine at routine, called as
    // (chatObject, printWord, text, 0) with all four arguments on the stack, removed by the callee.
    virtual void printChatLine(HostAddr routine, HostAddr chatObject, uint32_t printWord, const char* text) = 0;
};

}  // namespace tarvek
