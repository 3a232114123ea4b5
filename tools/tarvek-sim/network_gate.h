#pragma once
// The network as the simulated game sees it: a catalog run reaches the server only when the game
// lets it, one frame after it started, so a catalog is always a frame late and arrives at the
// same frame on every machine (a real server answers in tens of milliseconds, a frame or two).
#include <condition_variable>
#include <memory>
#include <mutex>

#include "sync/http_transport.h"

namespace tarvek::simtool {

class NetworkGate final : public HttpTransport {
public:
    explicit NetworkGate(std::shared_ptr<HttpTransport> transport) : transport_(std::move(transport)) {}

    // Waits until the run has passed release (or the gate sees it waiting).
    std::unique_ptr<HttpConnection> openConnection(const ServerOrigin& origin, const TransferTimeouts& timeouts) override;

    // Lets every run waiting now through; a run that has not reached the gate yet waits for the
    // next release.
    void release();

private:
    std::shared_ptr<HttpTransport> transport_;
    std::mutex mutex_;
    std::condition_variable changed_;
    uint64_t releases_ = 0;
};

}  // namespace tarvek::simtool
