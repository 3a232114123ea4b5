#include "loopback_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace tarvek::testing {
namespace {

constexpr int kPollMs = 50;

bool waitReadable(int fd, const std::atomic<bool>& stopping) {
    for (pollfd p{fd, POLLIN, 0}; !stopping; p.revents = 0)
        if (::poll(&p, 1, kPollMs) > 0) return true;
    return false;
}

bool sendAll(int fd, const std::string& bytes) {
    return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

// The request head, up to its blank line.
std::string readHead(int fd, const std::atomic<bool>& stopping) {
    std::string head;
    char c;
    while (head.find("\r\n\r\n") == std::string::npos && waitReadable(fd, stopping) && ::recv(fd, &c, 1, 0) == 1)
        head.push_back(c);
    return head;
}

int connectLoopback(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, htons(static_cast<uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void relay(int a, int b, const std::atomic<bool>& stopping) {
    char buffer[16384];
    pollfd both[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
    while (!stopping) {
        if (::poll(both, 2, kPollMs) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (!both[i].revents) continue;
            const ssize_t got = ::recv(both[i].fd, buffer, sizeof buffer, 0);
            if (got <= 0 || ::send(both[1 - i].fd, buffer, static_cast<size_t>(got), MSG_NOSIGNAL) != got) return;
        }
    }
}

}  // namespace

LoopbackPeer::LoopbackPeer(Serve serve) : serve_(std::move(serve)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t size = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(listener_);
        throw std::runtime_error("cannot listen on loopback");
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

LoopbackPeer::~LoopbackPeer() {
    stopping_ = true;
    acceptor_.join();
    for (std::thread& worker : workers_) worker.join();
    ::close(listener_);
}

void LoopbackPeer::acceptLoop() {
    while (waitReadable(listener_, stopping_)) {
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0) continue;
        ++connections_;
        std::lock_guard lock(mutex_);
        workers_.emplace_back([this, fd] {
            serve_(fd, stopping_);
            ::close(fd);
        });
    }
}

std::unique_ptr<LoopbackPeer> startHeaderDripServer(int intervalMs) {
    return std::make_unique<LoopbackPeer>([intervalMs](int fd, const std::atomic<bool>& stopping) {
        readHead(fd, stopping);
        // Ten seconds of lines at most, so a client that never gives up still sees an end.
        for (int line = 0; line * intervalMs < 10000 && !stopping && sendAll(fd, line ? "X-Drip: " + std::to_string(line) + "\r\n"
                                                         : std::string("HTTP/1.1 200 OK\r\n"));
             ++line)
            std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs));
    });
}

std::unique_ptr<LoopbackPeer> startConnectProxy() {
    return std::make_unique<LoopbackPeer>([](int fd, const std::atomic<bool>& stopping) {
        const std::string head = readHead(fd, stopping);
        const size_t colon = head.find(':');
        if (head.rfind("CONNECT ", 0) != 0 || colon == std::string::npos) return;
        const int target = connectLoopback(std::atoi(head.c_str() + colon + 1));
        if (target < 0) return;
        if (sendAll(fd, "HTTP/1.1 200 Connection established\r\nProxy-Agent: loopback\r\n\r\n"))
            relay(fd, target, stopping);
        ::close(target);
    });
}

}  // namespace tarvek::testing
