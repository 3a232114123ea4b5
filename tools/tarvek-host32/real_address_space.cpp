#include "tools/tarvek-host32/real_address_space.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

namespace tarvek::host32 {
namespace {

void* pointerOf(HostAddr addr) { return reinterpret_cast<void*>(static_cast<uintptr_t>(addr)); }
HostAddr addressOf(const void* p) { return static_cast<HostAddr>(reinterpret_cast<uintptr_t>(p)); }

[[noreturn]] void fail(const char* what, HostAddr addr) {
    char text[128];
    std::snprintf(text, sizeof text, "%s failed at 0x%08x (Windows error %lu)", what, static_cast<unsigned>(addr),
                  GetLastError());
    throw std::runtime_error(text);
}

bool allows(DWORD protect, bool writing) {
    if (protect & (PAGE_NOACCESS | PAGE_GUARD)) return false;
    if (!writing) return true;
    return protect & (PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY);
}

// Runs copy over [addr, addr + n) with every committed region of it opened for the access
// first, and gives each region its own protection back afterwards.
template <typename Copy>
void withAccess(HostAddr addr, size_t n, bool writing, Copy&& copy) {
    struct Opened {
        uintptr_t begin;
        size_t size;
        DWORD protect;
    };
    std::vector<Opened> opened;
    const uintptr_t end = uintptr_t{addr} + n;
    for (uintptr_t cursor = addr; cursor < end;) {
        MEMORY_BASIC_INFORMATION info{};
        if (VirtualQuery(reinterpret_cast<void*>(cursor), &info, sizeof info) != sizeof info ||
            info.State != MEM_COMMIT)
            fail("game memory access", static_cast<HostAddr>(cursor));
        const uintptr_t regionEnd = std::min<uintptr_t>(end, reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize);
        if (!allows(info.Protect, writing)) {
            DWORD old = 0;
            if (!VirtualProtect(reinterpret_cast<void*>(cursor), regionEnd - cursor, PAGE_EXECUTE_READWRITE, &old))
                fail("VirtualProtect", static_cast<HostAddr>(cursor));
            opened.push_back({cursor, regionEnd - cursor, old});
        }
        cursor = regionEnd;
    }
    copy();
    for (const auto& region : opened) {
        DWORD ignored = 0;
        VirtualProtect(reinterpret_cast<void*>(region.begin), region.size, region.protect, &ignored);
    }
}

// Host addresses are 32 bits: a 64-bit test process looks for room below 4 GiB.
void* reserveBelow4GiB(size_t size) {
    if (sizeof(void*) == 4) return VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
    for (uintptr_t at = 0x10000000; at + size < 0xFFFF0000u; at += 0x00100000)
        if (void* p = VirtualAlloc(reinterpret_cast<void*>(at), size, MEM_RESERVE, PAGE_NOACCESS)) return p;
    return nullptr;
}

}  // namespace

RealAddressSpace::~RealAddressSpace() {
    for (void* object : objects_) VirtualFree(object, 0, MEM_RELEASE);
}

HostAddr RealAddressSpace::allocate(uint32_t size) {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    const size_t committed = size == 0 ? page : (size + page - 1) / page * page;
    void* block = reserveBelow4GiB(committed + page);
    if (!block) fail("VirtualAlloc (reserve)", 0);
    objects_.push_back(block);
    if (!VirtualAlloc(block, committed, MEM_COMMIT, PAGE_READWRITE)) fail("VirtualAlloc (commit)", addressOf(block));
    return addressOf(block);
}

HostAddr RealAddressSpace::allocateImage(uint32_t size) {
    const uint64_t first = uint64_t{image_.base} + 0x1000;
    const uint64_t last = uint64_t{image_.base} + size;
    if (image_.begin > first || image_.end < last) throw std::runtime_error("game image block is too small");
    DWORD old = 0;
    if (!VirtualProtect(pointerOf(static_cast<HostAddr>(first)), last - first, PAGE_READWRITE, &old))
        fail("VirtualProtect", static_cast<HostAddr>(first));
    std::memset(pointerOf(static_cast<HostAddr>(first)), 0, last - first);
    return image_.base;
}

void RealAddressSpace::write(HostAddr addr, const void* src, size_t n) {
    withAccess(addr, n, true, [&] { std::memcpy(pointerOf(addr), src, n); });
    // The game's code may just have changed under a call site.
    FlushInstructionCache(GetCurrentProcess(), pointerOf(addr), n);
}

void RealAddressSpace::read(HostAddr addr, void* dst, size_t n) const {
    withAccess(addr, n, false, [&] { std::memcpy(dst, pointerOf(addr), n); });
}

uint8_t* RealAddressSpace::span(HostAddr addr, size_t n) {
    for (uintptr_t cursor = addr, end = uintptr_t{addr} + n; cursor < end;) {
        MEMORY_BASIC_INFORMATION info{};
        if (VirtualQuery(reinterpret_cast<void*>(cursor), &info, sizeof info) != sizeof info ||
            info.State != MEM_COMMIT || !allows(info.Protect, true))
            fail("game drawing", static_cast<HostAddr>(cursor));
        cursor = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
    }
    return static_cast<uint8_t*>(pointerOf(addr));
}

void RealAddressSpace::protect(HostAddr addr, uint32_t size, uint32_t newProtect) {
    DWORD old = 0;
    if (!VirtualProtect(pointerOf(addr), size, newProtect, &old)) fail("VirtualProtect", addr);
}

}  // namespace tarvek::host32
