#include "tools/tarvek-sim/network_gate.h"

namespace tarvek::simtool {

std::unique_ptr<HttpConnection> NetworkGate::openConnection(const ServerOrigin& origin, const TransferTimeouts& timeouts) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        const uint64_t arrivedAt = releases_;
        // A game that stopped releasing (the run ended) lets it through after a while.
        changed_.wait_for(lock, std::chrono::seconds(30), [&] { return releases_ != arrivedAt; });
    }
    return transport_->openConnection(origin, timeouts);
}

void NetworkGate::release() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++releases_;
    changed_.notify_all();
}

}  // namespace tarvek::simtool
