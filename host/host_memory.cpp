#include "host/host_memory.h"

#include <cstdint>
#include <cstring>

namespace tarvek {

std::optional<HostAddr> fieldAddress(HostAddr base, uint32_t offset) {
    if (base == 0 || offset > UINT32_MAX - base) return std::nullopt;
    return base + offset;
}

template <typename Allowed>
bool HostMemory::rangeIs(HostAddr addr, size_t n, Allowed allowed) const {
    if (addr == 0 || n == 0) return false;
    // Compared before adding: with a 64-bit size_t the sum itself could wrap.
    const uint64_t room = (uint64_t{1} << 32) - addr;
    if (uint64_t{n} > room) return false;
    const uint64_t end = uint64_t{addr} + n;

    uint64_t cursor = addr;
    while (cursor < end) {
        MemoryRegion region;
        if (!query(static_cast<HostAddr>(cursor), region)) return false;
        if (region.state != RegionState::Commit) return false;
        if (region.protect & (protection::NoAccess | protection::Guard)) return false;
        if (!allowed(region.protect)) return false;
        const uint64_t next = region.base + region.size;
        // A query that does not move forward would loop forever.
        if (next <= cursor) return false;
        cursor = next;
    }
    return true;
}

bool HostMemory::isReadable(HostAddr addr, size_t n) const {
    return rangeIs(addr, n, [](uint32_t) { return true; });
}

bool HostMemory::isWritable(HostAddr addr, size_t n) const {
    constexpr uint32_t kWritable = protection::ReadWrite | protection::WriteCopy | protection::ExecuteReadWrite |
                                   protection::ExecuteWriteCopy;
    return rangeIs(addr, n, [](uint32_t protect) { return (protect & kWritable) != 0; });
}

bool HostMemory::writeIfWritable(HostAddr addr, const void* src, size_t n) {
    return isWritable(addr, n) && write(addr, src, n);
}

bool HostMemory::read(HostAddr addr, void* dst, size_t n) const {
    if (!isReadable(addr, n)) return false;
    copyOut(addr, dst, n);
    return true;
}

bool HostMemory::exchangeU32(HostAddr addr, uint32_t value, uint32_t& previous) {
    uint32_t old;
    if (!read(addr, &old, sizeof old) || !write(addr, &value, sizeof value)) return false;
    previous = old;
    return true;
}

bool HostMemory::writeU64(HostAddr addr, uint64_t value) { return write(addr, &value, sizeof value); }

bool HostMemory::read(HostAddr base, uint32_t offset, void* dst, size_t n) const {
    const std::optional<HostAddr> addr = fieldAddress(base, offset);
    return addr && read(*addr, dst, n);
}

namespace {

// The bytes from the first row's start to the last row's end; 0 when there is nothing to cover.
uint64_t rowsSpan(uint32_t stride, uint32_t rowBytes, uint32_t rows) {
    if (rows == 0 || rowBytes == 0 || (rows > 1 && stride < rowBytes)) return 0;
    return uint64_t{rows - 1} * stride + rowBytes;
}

}  // namespace

std::optional<VerifiedRange> HostMemory::verify(HostAddr addr, size_t n, bool needWrite) const {
    if (!(needWrite ? isWritable(addr, n) : isReadable(addr, n))) return std::nullopt;
    return VerifiedRange(addr, n, needWrite);
}

bool HostMemory::readRows(const VerifiedRange& range, HostAddr addr, uint32_t stride, uint32_t rowBytes,
                          uint32_t rows, uint8_t* dst) const {
    const uint64_t span = rowsSpan(stride, rowBytes, rows);
    if (span == 0 || !range.covers(addr, span)) return false;
    copyOutRows(addr, stride, rowBytes, rows, dst);
    return true;
}

void HostMemory::copyOutRows(HostAddr addr, uint32_t stride, uint32_t rowBytes, uint32_t rows, uint8_t* dst) const {
    for (uint32_t row = 0; row < rows; ++row) copyOut(addr + row * stride, dst + size_t{row} * rowBytes, rowBytes);
}

bool HostMemory::writeRows(const VerifiedRange& range, HostAddr addr, uint32_t stride, uint32_t rowBytes,
                           uint32_t rows, const uint8_t* src) {
    const uint64_t span = rowsSpan(stride, rowBytes, rows);
    if (span == 0 || !range.writable() || !range.covers(addr, span)) return false;
    for (uint32_t row = 0; row < rows; ++row)
        if (!write(addr + row * stride, src + size_t{row} * rowBytes, rowBytes)) return false;
    return true;
}

namespace {
template <typename T>
std::optional<T> readTyped(const HostMemory& memory, HostAddr base, uint32_t offset) {
    T value;
    if (!memory.read(base, offset, &value, sizeof value)) return std::nullopt;
    return value;
}
}  // namespace

// A plain address is the field at offset 0 of itself.
std::optional<uint32_t> HostMemory::readU32(HostAddr addr) const { return readTyped<uint32_t>(*this, addr, 0); }
std::optional<int32_t> HostMemory::readI32(HostAddr addr) const { return readTyped<int32_t>(*this, addr, 0); }
std::optional<uint16_t> HostMemory::readU16(HostAddr addr) const { return readTyped<uint16_t>(*this, addr, 0); }
std::optional<uint8_t> HostMemory::readU8(HostAddr addr) const { return readTyped<uint8_t>(*this, addr, 0); }
std::optional<int8_t> HostMemory::readI8(HostAddr addr) const { return readTyped<int8_t>(*this, addr, 0); }
std::optional<uint32_t> HostMemory::readU32(HostAddr base, uint32_t offset) const {
    return readTyped<uint32_t>(*this, base, offset);
}
std::optional<int32_t> HostMemory::readI32(HostAddr base, uint32_t offset) const {
    return readTyped<int32_t>(*this, base, offset);
}
std::optional<uint8_t> HostMemory::readU8(HostAddr base, uint32_t offset) const {
    return readTyped<uint8_t>(*this, base, offset);
}
std::optional<int8_t> HostMemory::readI8(HostAddr base, uint32_t offset) const {
    return readTyped<int8_t>(*this, base, offset);
}

}  // namespace tarvek
