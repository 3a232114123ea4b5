#pragma once
// Tiny TCP peers on 127.0.0.1 for client behaviour the reference server cannot show: a server
// that drips header lines forever, and an HTTP CONNECT proxy.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tarvek::testing {

class LoopbackPeer {
public:
    // serve runs on a thread of its own for each accepted connection; it should return soon
    // after stopping is set. The destructor sets it and joins every thread.
    using Serve = std::function<void(int fd, const std::atomic<bool>& stopping)>;
    explicit LoopbackPeer(Serve serve);
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    std::string origin() const { return "http://127.0.0.1:" + std::to_string(port_); }
    int connections() const { return connections_.load(); }

private:
    void acceptLoop();

    Serve serve_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::mutex mutex_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

// Answers "HTTP/1.1 200 OK" and then one more header line every intervalMs, never ending them.
std::unique_ptr<LoopbackPeer> startHeaderDripServer(int intervalMs);
// Tunnels each CONNECT to its target on loopback after "200 Connection established".
std::unique_ptr<LoopbackPeer> startConnectProxy();

}  // namespace tarvek::testing
