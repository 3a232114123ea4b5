#pragma once
// Redirects host call sites and class-table entries to module routines. Every check runs before
// the first byte changes; a hook that fails one is left exactly as the host had it.
#include <optional>
#include <span>

#include "host/hook_table.h"
#include "host/host_memory.h"

namespace tarvek {

enum class PatchOutcome {
    Patched,           // the module's routine was written now
    AlreadyInstalled,  // the module's routine was already there
    Skipped,           // a check failed; nothing was written
};

// The target of the E8 call at site; nothing when the bytes are unreadable or hold no E8 call.
std::optional<HostAddr> readCallTarget(const HostMemory& memory, HostAddr site);

// previous receives the target the call site held; it is stored before the routine becomes
// reachable. logChaining off suppresses the "is already hooked" line (the library entry point).
PatchOutcome patchCallSite(HostMemory& memory, HostAddr base, const CallSiteHook& hook, HostAddr routine,
                           HostAddr& previous, bool logChaining = true);

// routines and previous hold one element per entry of the hook (hook.count).
PatchOutcome patchTableEntry(HostMemory& memory, HostAddr base, const TableEntryHook& hook,
                             std::span<const HostAddr> routines, std::span<HostAddr* const> previous);

}  // namespace tarvek
