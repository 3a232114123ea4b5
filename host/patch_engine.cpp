#include "host/patch_engine.h"

#include <atomic>
#include <cstring>
#include <string>

#include "host/host_layout.h"
#include "host/log.h"
#include "host/text.h"

namespace tarvek {
namespace {

using host_layout::image::kCallOpcode;
constexpr uint32_t kCallSize = host_layout::image::kCallSiteSize;

// The routine may run on the game thread as soon as the patch is written: the previous target
// must be visible before then.
void publishPrevious(HostAddr& slot, HostAddr target) {
    std::atomic_ref<HostAddr>(slot).store(target, std::memory_order_release);
}

void logChainingLine(std::string_view name, HostAddr current, HostAddr expected) {
    logLine(std::string(name) + " is already hooked; chaining after 0x" + hexLower(current) + " (WA handler 0x" +
            hexLower(expected) + ")");
}

bool codeMatches(const HostMemory& memory, HostAddr base, const CodeCheck& check) {
    if (check.bytes.empty()) return true;
    uint8_t found[16];
    if (check.bytes.size() > sizeof found || !memory.read(base + check.offset, found, check.bytes.size()))
        return false;
    return std::memcmp(found, check.bytes.data(), check.bytes.size()) == 0;
}

}  // namespace

std::optional<HostAddr> readCallTarget(const HostMemory& memory, HostAddr site) {
    uint8_t call[kCallSize];
    if (!memory.read(site, call, sizeof call) || call[0] != kCallOpcode) return std::nullopt;
    uint32_t displacement;
    std::memcpy(&displacement, call + 1, 4);
    // 32-bit arithmetic wraps exactly as the processor computes the target.
    return site + kCallSize + displacement;
}

PatchOutcome patchCallSite(HostMemory& memory, HostAddr base, const CallSiteHook& hook, HostAddr routine,
                           HostAddr& previous, bool logChaining) {
    const HostAddr site = base + hook.site;
    const auto target = readCallTarget(memory, site);
    if (!target) return PatchOutcome::Skipped;
    const HostAddr current = *target;
    if (current == routine) return PatchOutcome::AlreadyInstalled;
    if (current == 0 || current == 0xFFFFFFFFu) return PatchOutcome::Skipped;

    const HostAddr expected = base + hook.expectedTarget;
    if (hook.foreign == ForeignTarget::Refuse) {
        for (const CodeCheck& check : hook.checks)
            if (!codeMatches(memory, base, check)) return PatchOutcome::Skipped;
        if (current != expected) return PatchOutcome::Skipped;
    }
    if (current != expected) {
        if (!memory.isReadable(current, 1)) return PatchOutcome::Skipped;
        if (hook.foreign == ForeignTarget::ChainLogged && logChaining)
            logChainingLine(hook.logName, current, expected);
    }

    // In a 32-bit address space every displacement fits the call's signed 32 bits.
    const uint32_t newDisplacement = routine - (site + kCallSize);
    uint8_t patched[kCallSize] = {kCallOpcode};
    std::memcpy(patched + 1, &newDisplacement, 4);

    uint32_t oldProtect = 0;
    if (!memory.protect(site, kCallSize, protection::ExecuteReadWrite, oldProtect)) return PatchOutcome::Skipped;
    publishPrevious(previous, current);
    const bool written = hook.rewritesOpcode ? memory.write(site, patched, kCallSize)
                                             : memory.write(site + 1, patched + 1, kCallSize - 1);
    uint32_t ignored = 0;
    memory.protect(site, kCallSize, oldProtect, ignored);
    memory.flushCode(site, kCallSize);
    return written ? PatchOutcome::Patched : PatchOutcome::Skipped;
}

PatchOutcome patchTableEntry(HostMemory& memory, HostAddr base, const TableEntryHook& hook,
                             std::span<const HostAddr> routines, std::span<HostAddr* const> previous) {
    const uint32_t count = hook.count;
    if (count < 1 || count > 2 || routines.size() < count || previous.size() < count) return PatchOutcome::Skipped;
    if (!memory.isReadable(base + hook.table, hook.readableSpan)) return PatchOutcome::Skipped;

    const HostAddr first = base + hook.entry;
    uint32_t old[2] = {};
    uint32_t ours = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const auto entry = memory.readU32(first + 4 * i);
        if (!entry || *entry == 0) return PatchOutcome::Skipped;
        old[i] = *entry;
        ours += old[i] == routines[i];
    }
    if (ours == count) return PatchOutcome::AlreadyInstalled;
    // One of a pair already ours would become its own previous target and call itself forever.
    if (ours != 0) return PatchOutcome::Skipped;

    const HostAddr expected = base + hook.expectedTarget;
    for (uint32_t i = 0; i < count; ++i) {
        if (hook.foreign == ForeignTarget::ChainIfReadable && !memory.isReadable(old[i], 1))
            return PatchOutcome::Skipped;
        if (hook.expectedTarget != 0 && old[i] != expected && hook.foreign == ForeignTarget::ChainLogged)
            logChainingLine(hook.logName, old[i], expected);
    }

    uint32_t oldProtect = 0;
    if (!memory.protect(first, 4 * count, protection::ReadWrite, oldProtect)) return PatchOutcome::Skipped;
    for (uint32_t i = 0; i < count; ++i) publishPrevious(*previous[i], old[i]);
    bool written;
    if (hook.exchange) {
        uint32_t replaced = 0;
        written = memory.exchangeU32(first, routines[0], replaced);
        // Another thread got there between the read and the exchange: chain after what it wrote.
        if (written && replaced != old[0]) publishPrevious(*previous[0], replaced);
    } else if (count == 2) {
        written = memory.writeU64(first, uint64_t{routines[0]} | uint64_t{routines[1]} << 32);
    } else {
        written = memory.write(first, &routines[0], 4);
    }
    uint32_t ignored = 0;
    memory.protect(first, 4 * count, oldProtect, ignored);
    return written ? PatchOutcome::Patched : PatchOutcome::Skipped;
}

}  // namespace tarvek
