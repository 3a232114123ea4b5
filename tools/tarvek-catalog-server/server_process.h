#pragma once
// The reference catalog server as a child process on loopback, for tests and the simulated game.
#include <string>
#include <sys/types.h>
#include <vector>

namespace tarvek::server {

class ServerProcess {
public:
    // Starts binary on dataDirectory on a free port, with further arguments (a later "--port N"
    // picks the port; faults, certificate, log), and waits until it listens; throws
    // std::runtime_error when it does not come up.
    ServerProcess(const std::string& binary, const std::string& dataDirectory,
                  const std::vector<std::string>& arguments = {});
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // "http://127.0.0.1:PORT" or "https://...".
    const std::string& origin() const { return origin_; }
    int port() const;

private:
    pid_t pid_ = -1;
    std::string origin_;
};

}  // namespace tarvek::server
