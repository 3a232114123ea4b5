#pragma once
// The boundary to the host game's memory. The game is a 32-bit process, so every host address is
// 32 bits wide in every build. Reads are guarded: a range that is not entirely committed and
// readable is refused instead of faulting.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tarvek {

using HostAddr = uint32_t;

// Region states and protections carry the Windows values so the Win32 layer passes them through.
enum class RegionState : uint32_t { Commit = 0x1000, Reserve = 0x2000, Free = 0x10000 };

namespace protection {
constexpr uint32_t NoAccess = 0x01;
constexpr uint32_t ReadOnly = 0x02;
constexpr uint32_t ReadWrite = 0x04;
constexpr uint32_t WriteCopy = 0x08;
constexpr uint32_t Execute = 0x10;
constexpr uint32_t ExecuteRead = 0x20;
constexpr uint32_t ExecuteReadWrite = 0x40;
constexpr uint32_t ExecuteWriteCopy = 0x80;
constexpr uint32_t Guard = 0x100;
}  // namespace protection

// A range found committed and readable (and, when asked for, writable) by one walk of the memory
// queries. Rows inside it are then copied without walking again, so a bitmap is checked once per
// use rather than once per row.
class VerifiedRange {
public:
    bool covers(HostAddr addr, uint64_t n) const {
        return addr >= base_ && uint64_t{addr} + n <= uint64_t{base_} + size_;
    }
    bool writable() const { return writable_; }

private:
    friend class HostMemory;
    VerifiedRange(HostAddr base, uint64_t size, bool writable) : base_(base), size_(size), writable_(writable) {}
    HostAddr base_;
    uint64_t size_;
    bool writable_;
};

// The address of the field at offset within the object at base. Nothing for a null object, or
// when the sum passes the top of the 32-bit address space (it would wrap to a low address).
std::optional<HostAddr> fieldAddress(HostAddr base, uint32_t offset);

struct MemoryRegion {
    uint64_t base = 0;  // 64 bits: the last region of the address space ends at 2^32
    uint64_t size = 0;
    RegionState state = RegionState::Free;
    uint32_t protect = 0;
};

class HostMemory {
public:
    virtual ~HostMemory() = default;

    // True when every byte of [addr, addr + n) is committed, neither no-access nor a guard page.
    // Null, zero length and ranges that wrap past the top of the address space are refused.
    bool isReadable(HostAddr addr, size_t n) const;

    // True when every byte of [addr, addr + n) is committed and writable (not a guard page).
    bool isWritable(HostAddr addr, size_t n) const;

    // Guarded read: copies n bytes into dst, or returns false and leaves dst untouched.
    bool read(HostAddr addr, void* dst, size_t n) const;
    std::optional<VerifiedRange> verify(HostAddr addr, size_t n, bool needWrite) const;
    // rows rows of rowBytes bytes, stride bytes apart, packed into dst; false (nothing copied)
    // unless the range covers all of them.
    bool readRows(const VerifiedRange& range, HostAddr addr, uint32_t stride, uint32_t rowBytes, uint32_t rows,
                  uint8_t* dst) const;
    std::optional<uint32_t> readU32(HostAddr addr) const;
    std::optional<int32_t> readI32(HostAddr addr) const;
    std::optional<uint16_t> readU16(HostAddr addr) const;
    std::optional<uint8_t> readU8(HostAddr addr) const;
    std::optional<int8_t> readI8(HostAddr addr) const;
    // The same reads of a field at offset within the object at base (see fieldAddress).
    bool read(HostAddr base, uint32_t offset, void* dst, size_t n) const;
    std::optional<uint32_t> readU32(HostAddr base, uint32_t offset) const;
    std::optional<int32_t> readI32(HostAddr base, uint32_t offset) const;
    std::optional<uint8_t> readU8(HostAddr base, uint32_t offset) const;
    std::optional<int8_t> readI8(HostAddr base, uint32_t offset) const;

    // The region containing addr, as the platform's memory query describes it.
    virtual bool query(HostAddr addr, MemoryRegion& region) const = 0;

    // Changes the protection of the pages covering [addr, addr + n); the previous protection of
    // the first page goes to oldProtect. For hook patches and the few host writes allowed.
    virtual bool protect(HostAddr addr, size_t n, uint32_t newProtect, uint32_t& oldProtect) = 0;
    // Writes without any check; the caller has made the range writable.
    virtual bool write(HostAddr addr, const void* src, size_t n) = 0;
    virtual void flushCode(HostAddr addr, size_t n) = 0;
    // Guarded write: writes only when the whole range is writable.
    bool writeIfWritable(HostAddr addr, const void* src, size_t n);
    // The counterpart of readRows, for a writable range.
    bool writeRows(const VerifiedRange& range, HostAddr addr, uint32_t stride, uint32_t rowBytes, uint32_t rows,
                   const uint8_t* src);

    // The host address of n bytes of the module's own memory that a host routine reads or writes
    // during a call (a worm image, a bitmap, a text); 0 when the host cannot reach them.
    virtual HostAddr addressOf(const void* bytes, size_t n) = 0;
    // Pointer stores the game thread may race with: one 4-byte exchange, and 8 bytes stored at
    // once. The defaults suit a host that runs no thread of its own meanwhile.
    virtual bool exchangeU32(HostAddr addr, uint32_t value, uint32_t& previous);
    virtual bool writeU64(HostAddr addr, uint64_t value);

protected:
    template <typename Allowed>
    bool rangeIs(HostAddr addr, size_t n, Allowed allowed) const;
    // Copies bytes already known to be readable.
    virtual void copyOut(HostAddr addr, void* dst, size_t n) const = 0;
    // Rows already known to be readable, packed into dst (one copyOut per row unless overridden).
    virtual void copyOutRows(HostAddr addr, uint32_t stride, uint32_t rowBytes, uint32_t rows, uint8_t* dst) const;
};

}  // namespace tarvek
