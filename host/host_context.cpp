#include "host/host_context.h"

#include <cstdlib>

namespace tarvek {
namespace {

struct BoundHost {
    HostMemory* memory = nullptr;
    HostCalls* calls = nullptr;
    HostAddr base = 0;
};

BoundHost& bound() {
    static BoundHost host;
    return host;
}

}  // namespace

void bindHost(HostMemory& memory, HostCalls& calls, HostAddr base) {
    bound() = BoundHost{&memory, &calls, base};
}

// Hooks are installed only after binding, so an unbound host is a start-up ordering fault.
HostMemory& hostMemory() {
    if (!bound().memory) std::abort();
    return *bound().memory;
}

HostCalls& hostCalls() {
    if (!bound().calls) std::abort();
    return *bound().calls;
}

HostAddr hostBase() { return bound().base; }

}  // namespace tarvek
