#include "sim/sim_address_space.h"

#include <stdexcept>

namespace tarvek::sim {

HostAddr SimAddressSpace::allocate(uint32_t size) {
    const uint64_t pages = (uint64_t{size} + kPageSize - 1) / kPageSize;
    const uint64_t end = next_ + (pages == 0 ? 1 : pages) * kPageSize;
    if (end + kPageSize > (uint64_t{1} << 32)) throw std::length_error("SimAddressSpace: address space exhausted");
    const HostAddr base = static_cast<HostAddr>(next_);
    memory_.map(base, static_cast<uint32_t>(end - next_));
    next_ = end + kPageSize;
    return base;
}

HostAddr SimAddressSpace::allocateImage(uint32_t size) {
    memory_.map(imageBase_, size);
    return imageBase_;
}

}  // namespace tarvek::sim
