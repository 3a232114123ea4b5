#pragma once
// The host memory boundary over this process's own address space. In the DLL every host address
// is a real pointer; the 64-bit test build uses memory it allocated below 4 GiB.
#include "host/host_memory.h"

namespace tarvek::win32 {

class Win32HostMemory : public HostMemory {
public:
    bool query(HostAddr addr, MemoryRegion& region) const override;
    bool protect(HostAddr addr, size_t n, uint32_t newProtect, uint32_t& oldProtect) override;
    bool write(HostAddr addr, const void* src, size_t n) override;
    void flushCode(HostAddr addr, size_t n) override;
    HostAddr addressOf(const void* bytes, size_t n) override;
    bool exchangeU32(HostAddr addr, uint32_t value, uint32_t& previous) override;
    bool writeU64(HostAddr addr, uint64_t value) override;

protected:
    void copyOut(HostAddr addr, void* dst, size_t n) const override;
};

}  // namespace tarvek::win32
