#pragma once
// The DLL's side of the hooks: thunk addresses for the routines this build has, and calls into
// host code through the register-loading call-out.
#include "host/host_calls.h"
#include "module/hook_installer.h"
#include "module/hook_routines.h"

namespace tarvek {

// The thunk of every hook whose routine is present in routines; 0 for the others.
HookAddresses x86HookAddresses(const HookRoutines& routines);

class X86HostCalls final : public HostCalls {
public:
    void callWormHandler(HostAddr handler, HostAddr worm, HostAddr sender, uint32_t messageType, uint32_t size,
                         HostAddr data) override;
    void drawWorm(HostAddr wormImage) override;
    void drawRope(HostAddr worm, uint32_t colourEntry9, uint32_t colourEntry7) override;
    void printChatLine(HostAddr routine, HostAddr chatObject, uint32_t printWord, const char* text) override;
    int32_t callDisplayText(HostAddr routine, HostAddr display, const TextDraw& draw) override;
    uint32_t callDisplayWideLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                 uint32_t colour, uint32_t width) override;
    uint32_t callDisplayThinLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                 uint32_t colour) override;
    uint32_t callDisplaySprite(HostAddr routine, HostAddr display, int32_t x, int32_t y, uint32_t flags,
                               uint32_t sprite) override;
    void callDisplayBitmap(HostAddr routine, HostAddr display, const BitmapDraw& draw) override;
};

}  // namespace tarvek
