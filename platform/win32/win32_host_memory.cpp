#include "platform/win32/win32_host_memory.h"

#include <windows.h>

#include <cstring>

namespace tarvek::win32 {
namespace {
void* pointerOf(HostAddr addr) { return reinterpret_cast<void*>(static_cast<uintptr_t>(addr)); }
}  // namespace

bool Win32HostMemory::query(HostAddr addr, MemoryRegion& region) const {
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(pointerOf(addr), &info, sizeof info) != sizeof info) return false;
    region.base = reinterpret_cast<uintptr_t>(info.BaseAddress);
    region.size = info.RegionSize;
    region.state = static_cast<RegionState>(info.State);
    region.protect = info.Protect;
    return true;
}

bool Win32HostMemory::protect(HostAddr addr, size_t n, uint32_t newProtect, uint32_t& oldProtect) {
    DWORD old = 0;
    if (!VirtualProtect(pointerOf(addr), n, newProtect, &old)) return false;
    oldProtect = old;
    return true;
}

bool Win32HostMemory::write(HostAddr addr, const void* src, size_t n) {
    if (addr == 0 || n == 0) return false;
    std::memcpy(pointerOf(addr), src, n);
    return true;
}

void Win32HostMemory::flushCode(HostAddr addr, size_t n) {
    FlushInstructionCache(GetCurrentProcess(), pointerOf(addr), n);
}

// The module shares the game's address space: its memory is reachable as long as it lies below
// 4 GiB, which in the 32-bit game it always does.
HostAddr Win32HostMemory::addressOf(const void* bytes, size_t n) {
    const uint64_t address = reinterpret_cast<uintptr_t>(bytes);
    if (address == 0 || address + n > (uint64_t{1} << 32)) return 0;
    return static_cast<HostAddr>(address);
}

bool Win32HostMemory::exchangeU32(HostAddr addr, uint32_t value, uint32_t& previous) {
    if (addr == 0) return false;
    previous = static_cast<uint32_t>(InterlockedExchange(static_cast<volatile LONG*>(pointerOf(addr)),
                                                         static_cast<LONG>(value)));
    return true;
}

bool Win32HostMemory::writeU64(HostAddr addr, uint64_t value) {
    if (addr == 0) return false;
    // A locked compare-exchange stores all 8 bytes at once, also where the pair is only 4-aligned
    // (class-table entries are): the game thread sees both old entries or both new ones.
    auto* target = static_cast<volatile uint64_t*>(pointerOf(addr));
    uint64_t seen = *target;
    for (;;) {
        const uint64_t before = __sync_val_compare_and_swap(target, seen, value);
        if (before == seen) return true;
        seen = before;
    }
}

void Win32HostMemory::copyOut(HostAddr addr, void* dst, size_t n) const { std::memcpy(dst, pointerOf(addr), n); }

}  // namespace tarvek::win32
