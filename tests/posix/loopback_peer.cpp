#include "loopback_peer.h"

#include <arpa/inet.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace tarvek::testing {
namespace {

// Waits for input on any of fds; false once stopping is set.
bool waitInput(const std::atomic<bool>& stopping, pollfd* fds, int count) {
    while (!stopping)
        if (::poll(fds, static_cast<nfds_t>(count), 50) > 0) return true;
    return false;
}

bool sendAll(int fd, const std::string& bytes) {
    return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

std::string readHead(int fd, const std::atomic<bool>& stopping) {
    std::string head;
    pollfd input{fd, POLLIN, 0};
    for (char c; head.find("\r\n\r\n") == std::string::npos && waitInput(stopping, &input, 1) &&
                 ::recv(fd, &c, 1, 0) == 1;)
        head.push_back(c);
    return head;
}

sockaddr_in loopback(int port) {
    return sockaddr_in{AF_INET, htons(static_cast<uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
}

}  // namespace

LoopbackPeer::LoopbackPeer(Serve serve) : listener_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("cannot listen on loopback");
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this, serve = std::move(serve)] {
        for (pollfd input{listener_, POLLIN, 0}; waitInput(stopping_, &input, 1);) {
            const int fd = ::accept(listener_, nullptr, nullptr);
            if (fd < 0) continue;
            ++accepted_;
            workers_.emplace_back([this, fd, serve] {
                serve(fd, stopping_);
                ::close(fd);
            });
        }
    });
}

LoopbackPeer::~LoopbackPeer() {
    stopping_ = true;
    acceptor_.join();
    for (std::thread& worker : workers_) worker.join();
    ::close(listener_);
}

std::unique_ptr<LoopbackPeer> startHeaderDripServer(int intervalMs) {
    return std::make_unique<LoopbackPeer>([intervalMs](int fd, const std::atomic<bool>& stopping) {
        readHead(fd, stopping);
        std::string line = "HTTP/1.1 200 OK\r\n";
        for (int n = 1; n * intervalMs < 10000 && !stopping && sendAll(fd, line); ++n) {
            std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs));
            line = "X-Drip: " + std::to_string(n) + "\r\n";
        }
    });
}

std::unique_ptr<LoopbackPeer> startConnectProxy() {
    return std::make_unique<LoopbackPeer>([](int client, const std::atomic<bool>& stopping) {
        const std::string head = readHead(client, stopping);
        const size_t colon = head.find(':');
        if (head.rfind("CONNECT ", 0) != 0 || colon == std::string::npos) return;
        const int origin = ::socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in address = loopback(std::atoi(head.c_str() + colon + 1));
        pollfd both[2] = {{client, POLLIN, 0}, {origin, POLLIN, 0}};
        char buffer[16384];
        bool open = ::connect(origin, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                    sendAll(client, "HTTP/1.1 200 Connection established\r\n\r\n");
        while (open && waitInput(stopping, both, 2)) {
            for (int i = 0; i < 2 && open; ++i) {
                const ssize_t got = both[i].revents ? ::recv(both[i].fd, buffer, sizeof buffer, 0) : 1;
                open = got > 0 && (!both[i].revents || sendAll(both[1 - i].fd, std::string(buffer, got)));
            }
        }
        ::close(origin);
    });
}

}  // namespace tarvek::testing
