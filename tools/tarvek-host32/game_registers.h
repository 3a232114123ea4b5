#pragma once
// The registers and flags around the game's calls through patched call sites: what the game set
// before the call and saw after it, and what the game's own routine saw on entry and left at its
// return. A module between the two must pass everything through both ways.
#include <cstdint>
#include <string>

namespace tarvek::host32 {

struct GameRegisters {
    uint32_t eax = 0;
    uint32_t ecx = 0;
    uint32_t edx = 0;
    uint32_t ebx = 0;
    uint32_t esi = 0;
    uint32_t edi = 0;
    uint32_t ebp = 0;
    uint32_t eflags = 0;
    uint32_t stackPopped = 0;  // bytes of arguments gone from the stack when the call returned
};

// The flags a call site can rely on: the arithmetic ones and the direction flag.
constexpr uint32_t kComparedFlags = 0x0CD5;

// "" when both hold the same registers and compared flags; otherwise each difference, as
// "ECX 0x... for 0x...", the second value the expected one.
std::string registerDifferences(const GameRegisters& seen, const GameRegisters& expected);

}  // namespace tarvek::host32

// The game's call through a call site's E8 target: loads EAX, ECX, EDX, EBX, ESI, EDI and the
// flags from in, pushes count stack arguments, calls target, and stores what came back into out
// (EBP as the caller's frame, in both). in->ebp is set to that frame.
extern "C" void host32CallWithRegisters(uint32_t target, tarvek::host32::GameRegisters* in,
                                        tarvek::host32::GameRegisters* out, const uint32_t* arguments,
                                        uint32_t count);
