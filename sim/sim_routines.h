#pragma once
// Routines the simulated game can call by address: the module's routines (and the stand-ins for
// its register thunks) are registered here under synthetic addresses, one table per call contract.
#include <functional>
#include <map>

#include "host/host_memory.h"

namespace tarvek::sim {

template <typename Signature>
class RoutineTable {
public:
    void add(HostAddr address, std::function<Signature> routine) { routines_[address] = std::move(routine); }
    const std::function<Signature>* find(HostAddr address) const {
        const auto it = routines_.find(address);
        return it == routines_.end() ? nullptr : &it->second;
    }

private:
    std::map<HostAddr, std::function<Signature>> routines_;
};

// The target of the 5-byte E8 call at site, as the processor would compute it; 0 when the bytes
// there are not such a call.
HostAddr callSiteTarget(const HostMemory& memory, HostAddr site);

}  // namespace tarvek::sim
