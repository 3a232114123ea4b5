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
};

}  // namespace tarvek
