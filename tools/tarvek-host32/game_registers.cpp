#include "tools/tarvek-host32/game_registers.h"

#include <cstdio>

namespace tarvek::host32 {

std::string registerDifferences(const GameRegisters& seen, const GameRegisters& expected) {
    std::string text;
    auto compare = [&](const char* name, uint32_t got, uint32_t want) {
        if (got == want) return;
        char part[64];
        std::snprintf(part, sizeof part, "%s%s 0x%08x for 0x%08x", text.empty() ? "" : ", ", name, got, want);
        text += part;
    };
    compare("EAX", seen.eax, expected.eax);
    compare("ECX", seen.ecx, expected.ecx);
    compare("EDX", seen.edx, expected.edx);
    compare("EBX", seen.ebx, expected.ebx);
    compare("ESI", seen.esi, expected.esi);
    compare("EDI", seen.edi, expected.edi);
    compare("EBP", seen.ebp, expected.ebp);
    compare("flags", seen.eflags & kComparedFlags, expected.eflags & kComparedFlags);
    compare("stack", seen.stackPopped, expected.stackPopped);
    return text;
}

}  // namespace tarvek::host32
