#include "sim/sim_memory.h"

#include <cstring>
#include <stdexcept>

namespace tarvek::sim {
namespace {

constexpr uint64_t kTop = uint64_t{1} << 32;
constexpr uint64_t kBorrowEnd = 0x70000000;  // module routines are registered from here on

uint64_t pageDown(uint64_t a) { return a & ~uint64_t{kPageSize - 1}; }
uint64_t pageUp(uint64_t a) { return pageDown(a + kPageSize - 1); }

bool protectionAllowsWrites(uint32_t protect) {
    if (protect & (protection::NoAccess | protection::Guard)) return false;
    return protect & (protection::ReadWrite | protection::WriteCopy | protection::ExecuteReadWrite |
                      protection::ExecuteWriteCopy);
}

}  // namespace

SimMemory::RegionMap::const_iterator SimMemory::find(uint64_t addr) const {
    // Accesses come in runs on one object: the last region found is tried first.
    if (lastFound_ != regions_.end() && addr >= lastFound_->first && addr < lastFound_->first + lastFound_->second.size)
        return lastFound_;
    auto it = regions_.upper_bound(addr);
    if (it == regions_.begin()) return regions_.end();
    --it;
    if (addr >= it->first + it->second.size) return regions_.end();
    lastFound_ = it;
    return it;
}

void SimMemory::splitAt(uint64_t addr) {
    auto it = find(addr);
    if (it == regions_.end() || it->first == addr) return;
    auto& left = regions_.at(it->first);
    const uint64_t offset = addr - it->first;
    Region right{left.size - offset, left.state, left.protect, {}};
    if (left.borrowed) {
        right.borrowed = left.borrowed + offset;
    } else if (!left.bytes.empty()) {
        right.bytes.assign(left.bytes.begin() + static_cast<ptrdiff_t>(offset), left.bytes.end());
        left.bytes.resize(offset);
    }
    left.size = offset;
    regions_.emplace(addr, std::move(right));
}

void SimMemory::map(HostAddr base, uint32_t size, uint32_t protect, RegionState state) {
    const uint64_t begin = pageDown(base);
    const uint64_t end = std::min(pageUp(uint64_t{base} + size), kTop);
    if (end <= begin) throw std::invalid_argument("SimMemory::map: empty range");
    unmap(static_cast<HostAddr>(begin), static_cast<uint32_t>(end - begin));
    Region region{end - begin, state, state == RegionState::Commit ? protect : 0, {}};
    if (state == RegionState::Commit) region.bytes.assign(end - begin, 0);
    regions_.emplace(begin, std::move(region));
}

void SimMemory::unmap(HostAddr base, uint32_t size) {
    const uint64_t begin = pageDown(base);
    const uint64_t end = std::min(pageUp(uint64_t{base} + size), kTop);
    splitAt(begin);
    splitAt(end);
    lastFound_ = regions_.end();
    regions_.erase(regions_.lower_bound(begin), regions_.lower_bound(end));
}

void SimMemory::setProtection(HostAddr base, uint32_t size, uint32_t protect) {
    const uint64_t begin = pageDown(base);
    const uint64_t end = std::min(pageUp(uint64_t{base} + size), kTop);
    splitAt(begin);
    splitAt(end);
    for (auto it = regions_.lower_bound(begin); it != regions_.end() && it->first < end; ++it)
        if (it->second.state == RegionState::Commit) it->second.protect = protect;
}

template <typename Fn>
void SimMemory::forEachSpan(uint64_t addr, size_t n, Fn&& fn) const {
    uint64_t cursor = addr;
    const uint64_t end = addr + n;
    while (cursor < end) {
        auto it = find(cursor);
        if (it == regions_.end() || it->second.state != RegionState::Commit)
            throw std::out_of_range("SimMemory: access to unmapped or uncommitted memory");
        const uint64_t offset = cursor - it->first;
        const uint64_t take = std::min<uint64_t>(end - cursor, it->second.size - offset);
        fn(it, offset, cursor - addr, take);
        cursor += take;
    }
}

void SimMemory::poke(HostAddr addr, const void* src, size_t n) {
    forEachSpan(addr, n, [&](RegionMap::const_iterator it, uint64_t offset, uint64_t done, uint64_t take) {
        // The map is this object's own and not const here; the iterator only says where.
        std::memcpy(const_cast<Region&>(it->second).data() + offset, static_cast<const uint8_t*>(src) + done, take);
    });
}

void SimMemory::peek(HostAddr addr, void* dst, size_t n) const {
    forEachSpan(addr, n, [&](RegionMap::const_iterator it, uint64_t offset, uint64_t done, uint64_t take) {
        std::memcpy(static_cast<uint8_t*>(dst) + done, it->second.data() + offset, take);
    });
}

uint32_t SimMemory::peekU32(HostAddr addr) const {
    uint32_t value;
    peek(addr, &value, 4);
    return value;
}

uint8_t* SimMemory::span(HostAddr addr, size_t n) {
    auto it = find(addr);
    if (it == regions_.end() || it->second.state != RegionState::Commit || addr + uint64_t{n} > it->first + it->second.size)
        throw std::out_of_range("SimMemory::span: not one committed region");
    return regions_.at(it->first).data() + (addr - it->first);
}

HostAddr SimMemory::addressOf(const void* bytes, size_t n) {
    if (bytes == nullptr || n == 0) return 0;
    const uintptr_t native = reinterpret_cast<uintptr_t>(bytes);
    auto window = borrowed_.upper_bound(native);
    if (window != borrowed_.begin()) {
        --window;
        if (native + n <= window->first + window->second.size)
            return static_cast<HostAddr>(window->second.host + (native - window->first));
    }
    const uintptr_t first = native & ~uintptr_t{kPageSize - 1};
    const uint64_t size = pageUp(uint64_t{native} + n) - first;
    if (nextBorrow_ + size + kPageSize > kBorrowEnd) return 0;
    const HostAddr host = static_cast<HostAddr>(nextBorrow_);
    Region region{size, RegionState::Commit, protection::ReadWrite, {}, reinterpret_cast<uint8_t*>(first)};
    regions_.emplace(host, std::move(region));
    nextBorrow_ += size + kPageSize;
    borrowed_[first] = BorrowWindow{size, host};
    return static_cast<HostAddr>(host + (native - first));
}

void SimMemory::copyOut(HostAddr addr, void* dst, size_t n) const { peek(addr, dst, n); }

void SimMemory::copyOutRows(HostAddr addr, uint32_t stride, uint32_t rowBytes, uint32_t rows, uint8_t* dst) const {
    const uint64_t end = uint64_t{addr} + uint64_t{rows - 1} * stride + rowBytes;
    const auto it = find(addr);
    if (it == regions_.end() || it->second.state != RegionState::Commit || end > it->first + it->second.size)
        return HostMemory::copyOutRows(addr, stride, rowBytes, rows, dst);
    // One region holds every row: copy straight from its bytes.
    const uint8_t* from = it->second.data() + (addr - it->first);
    for (uint32_t row = 0; row < rows; ++row) std::memcpy(dst + size_t{row} * rowBytes, from + size_t{row} * stride, rowBytes);
}

bool SimMemory::query(HostAddr addr, MemoryRegion& region) const {
    ++queryCount_;
    const uint64_t page = pageDown(addr);
    auto it = find(page);
    if (it != regions_.end()) {
        region = {it->first, it->second.size, it->second.state, it->second.protect};
        return true;
    }
    // A free gap reaches from the end of the region below to the start of the region above.
    auto above = regions_.upper_bound(page);
    uint64_t gapBegin = 0;
    if (above != regions_.begin()) {
        auto below = std::prev(above);
        gapBegin = below->first + below->second.size;
    }
    const uint64_t gapEnd = above == regions_.end() ? kTop : above->first;
    region = {gapBegin, gapEnd - gapBegin, RegionState::Free, protection::NoAccess};
    return true;
}

bool SimMemory::protect(HostAddr addr, size_t n, uint32_t newProtect, uint32_t& oldProtect) {
    if (protectionLocked_ || n == 0 || uint64_t{addr} + n > kTop) return false;
    const uint64_t begin = pageDown(addr);
    const uint64_t end = pageUp(uint64_t{addr} + n);
    for (uint64_t cursor = begin; cursor < end;) {
        auto it = find(cursor);
        if (it == regions_.end() || it->second.state != RegionState::Commit) return false;
        cursor = it->first + it->second.size;
    }
    oldProtect = find(begin)->second.protect;
    setProtection(static_cast<HostAddr>(begin), static_cast<uint32_t>(end - begin), newProtect);
    return true;
}

bool SimMemory::write(HostAddr addr, const void* src, size_t n) {
    if (n == 0 || uint64_t{addr} + n > kTop) return false;
    for (uint64_t cursor = addr; cursor < uint64_t{addr} + n;) {
        auto it = find(cursor);
        if (it == regions_.end() || it->second.state != RegionState::Commit || !protectionAllowsWrites(it->second.protect))
            return false;
        cursor = it->first + it->second.size;
    }
    poke(addr, src, n);
    return true;
}

void SimMemory::flushCode(HostAddr addr, size_t n) { flushes_.emplace_back(addr, uint64_t{addr} + n); }

int SimMemory::flushCount(HostAddr addr) const {
    int count = 0;
    for (const auto& [begin, end] : flushes_)
        if (addr >= begin && addr < end) ++count;
    return count;
}

}  // namespace tarvek::sim
