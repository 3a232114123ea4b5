#pragma once
// Tiny TCP peers on 127.0.0.1 for client behaviour the reference server cannot show.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tarvek::testing {

class LoopbackPeer {
public:
    // Runs serve(fd, stopping) on a thread of its own for each accepted connection; the
    // destructor sets stopping and joins them all.
    using Serve = std::function<void(int fd, const std::atomic<bool>& stopping)>;
    explicit LoopbackPeer(Serve serve);
    ~LoopbackPeer();

    std::string origin() const { return "http://127.0.0.1:" + std::to_string(port_); }
    int connections() const { return accepted_.load(); }

private:
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> accepted_{0};
    std::vector<std::thread> workers_;  // touched by the acceptor only until it is joined
    std::thread acceptor_;
};

// "HTTP/1.1 200 OK", then one more header line every intervalMs for ten seconds.
std::unique_ptr<LoopbackPeer> startHeaderDripServer(int intervalMs);
// Tunnels each CONNECT to its port on loopback after "200 Connection established".
std::unique_ptr<LoopbackPeer> startConnectProxy();

}  // namespace tarvek::testing
