#pragma once
// Module routines the simulated game calls through its class tables, registered under synthetic
// addresses, one table per call contract.
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

}  // namespace tarvek::sim
