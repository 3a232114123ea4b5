#pragma once
// A sparse simulated 32-bit address space: page-aligned regions, each with a state and a
// protection, so every rule of the guarded read and of host writes can be exercised.
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "host/host_memory.h"

namespace tarvek::sim {

constexpr uint32_t kPageSize = 0x1000;

class SimMemory : public HostMemory {
public:
    SimMemory() = default;
    SimMemory(const SimMemory&) = delete;  // the region cache points into this object's map
    SimMemory& operator=(const SimMemory&) = delete;

    // Maps [base, base + size) rounded out to whole pages. Committed regions start zero-filled.
    // Mapping over an existing region replaces it.
    void map(HostAddr base, uint32_t size, uint32_t protect = protection::ReadWrite,
             RegionState state = RegionState::Commit);
    void unmap(HostAddr base, uint32_t size);
    // Changes the protection of whole pages without the checks a module write would face.
    void setProtection(HostAddr base, uint32_t size, uint32_t protect);

    // Set-up and inspection access that ignores protections (the simulated game's own view).
    // Both require the range to be mapped and committed.
    void poke(HostAddr addr, const void* src, size_t n);
    void peek(HostAddr addr, void* dst, size_t n) const;
    void pokeU32(HostAddr addr, uint32_t value) { poke(addr, &value, 4); }
    void pokeI32(HostAddr addr, int32_t value) { poke(addr, &value, 4); }
    void pokeU8(HostAddr addr, uint8_t value) { poke(addr, &value, 1); }
    uint32_t peekU32(HostAddr addr) const;
    // Direct access to bytes that lie in one committed region (the simulated game's drawing).
    uint8_t* span(HostAddr addr, size_t n);

    bool query(HostAddr addr, MemoryRegion& region) const override;
    bool protect(HostAddr addr, size_t n, uint32_t newProtect, uint32_t& oldProtect) override;
    bool write(HostAddr addr, const void* src, size_t n) override;
    void flushCode(HostAddr addr, size_t n) override;
    // The module's memory appears in a window of this address space that aliases it, page by
    // page, the way the game's process sees a module's buffers and stack.
    HostAddr addressOf(const void* bytes, size_t n) override;

    // From now on protection changes fail, as they may for a page another program has locked.
    void refuseProtectionChanges() { protectionLocked_ = true; }

    // How many code flushes covered addr (the patch engine must flush what it rewrote).
    int flushCount(HostAddr addr) const;
    // Counts every query the guarded read made; lets tests check the walk is bounded.
    uint64_t queryCount() const { return queryCount_; }

protected:
    void copyOut(HostAddr addr, void* dst, size_t n) const override;
    void copyOutRows(HostAddr addr, uint32_t stride, uint32_t rowBytes, uint32_t rows, uint8_t* dst) const override;

private:
    struct Region {
        uint64_t size = 0;
        RegionState state = RegionState::Commit;
        uint32_t protect = protection::ReadWrite;
        std::vector<uint8_t> bytes;  // empty unless committed, or when the bytes are borrowed
        uint8_t* borrowed = nullptr;  // module memory this region aliases
        uint8_t* data() { return borrowed ? borrowed : bytes.data(); }
        const uint8_t* data() const { return borrowed ? borrowed : bytes.data(); }
    };
    struct BorrowWindow {
        uint64_t size = 0;
        HostAddr host = 0;
    };
    using RegionMap = std::map<uint64_t, Region>;

    void splitAt(uint64_t addr);
    RegionMap::const_iterator find(uint64_t addr) const;
    template <typename Fn>
    void forEachSpan(uint64_t addr, size_t n, Fn&& fn) const;

    RegionMap regions_;
    mutable RegionMap::const_iterator lastFound_ = regions_.end();
    std::map<uintptr_t, BorrowWindow> borrowed_;  // by native page address
    uint64_t nextBorrow_ = 0x60000000;
    std::vector<std::pair<uint64_t, uint64_t>> flushes_;
    mutable uint64_t queryCount_ = 0;
    bool protectionLocked_ = false;
};

}  // namespace tarvek::sim
