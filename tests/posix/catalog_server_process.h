#pragma once
// The reference catalog server as a child process on a free loopback port, for one test.
#include <string>
#include <sys/types.h>
#include <vector>

namespace tarvek::testing {

class CatalogServerProcess {
public:
    // Starts the server on dataDirectory with further arguments (faults, certificate, log) and
    // waits until it listens; throws std::runtime_error when it does not come up.
    CatalogServerProcess(const std::string& dataDirectory, const std::vector<std::string>& arguments = {});
    ~CatalogServerProcess();
    CatalogServerProcess(const CatalogServerProcess&) = delete;
    CatalogServerProcess& operator=(const CatalogServerProcess&) = delete;

    // "http://127.0.0.1:PORT" or "https://...".
    const std::string& origin() const { return origin_; }
    int port() const;

private:
    pid_t pid_ = -1;
    std::string origin_;
};

}  // namespace tarvek::testing
