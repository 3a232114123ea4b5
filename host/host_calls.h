#pragma once
// Calls from the module into host code, one method per call contract. The DLL implements them
// with typed function pointers and register thunks; the simulated host dispatches by address.
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

// Display slot 20: draws [sourceX, sourceX + width) x [sourceY, sourceY + height) of a host
// bitmap centred on (x, y), 16.16 world units.
struct BitmapDraw {
    int32_t x = 0;
    int32_t y = 0;
    HostAddr bitmap = 0;
    int32_t sourceX = 0;
    int32_t sourceY = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t flags = 0;
};

// Display slot 7: renders a zero-terminated text into a host bitmap, top-left at (x, y); the
// extent of what it drew goes to the two i32 at outWidth and outHeight.
struct TextDraw {
    uint32_t style = 0;
    HostAddr bitmap = 0;
    int32_t x = 0;
    int32_t y = 0;
    HostAddr text = 0;
    HostAddr outWidth = 0;
    HostAddr outHeight = 0;
};

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

    // Display class-table routines, called as members of display (contracts in host_layout.h).
    virtual int32_t callDisplayText(HostAddr routine, HostAddr display, const TextDraw& draw) = 0;
    // Slots 13, 14 and 19 return what the routine left in EAX.
    virtual uint32_t callDisplayWideLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2,
                                         int32_t y2, uint32_t colour, uint32_t width) = 0;
    virtual uint32_t callDisplayThinLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2,
                                         int32_t y2, uint32_t colour) = 0;
    virtual uint32_t callDisplaySprite(HostAddr routine, HostAddr display, int32_t x, int32_t y, uint32_t flags,
                                       uint32_t sprite) = 0;
    virtual void callDisplayBitmap(HostAddr routine, HostAddr display, const BitmapDraw& draw) = 0;
};

}  // namespace tarvek
