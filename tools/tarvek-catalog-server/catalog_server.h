#pragma once
// The HTTP(S) front of the reference catalog server: routes, ETags, gzip and the fault modes.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "catalog_data.h"
#include "faults.h"

namespace tarvek::server {

struct ServerOptions {
    std::string listenHost = "127.0.0.1";
    int port = 0;  // 0 picks a free port
    std::string certificateFile;
    std::string keyFile;
    std::vector<Fault> faults;
    std::string accessLogFile;
};

class CatalogServer {
public:
    CatalogServer(CatalogData data, ServerOptions options);
    ~CatalogServer();
    CatalogServer(const CatalogServer&) = delete;
    CatalogServer& operator=(const CatalogServer&) = delete;

    // Binds and returns the origin ("https://127.0.0.1:PORT"); throws std::runtime_error.
    std::string bind();
    // Serves until stop(); returns when the listener has ended.
    void serve();
    void stop();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tarvek::server
