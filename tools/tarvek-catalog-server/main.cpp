// tarvek-catalog-server: the reference catalog server for Tarvek clients and their tests.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <pthread.h>
#include <string>
#include <thread>

#include "catalog_server.h"

namespace {

int usage() {
    std::cerr << "usage: tarvek-catalog-server --data DIR [--listen HOST] [--port N] [--cert PEM --key PEM]\n"
                 "                             [--fault PATH_PREFIX=MODE[:ARG]]... [--access-log FILE]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tarvek::server;
    ServerOptions options;
    std::string dataDirectory;
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (i + 1 >= argc) return usage();
        const std::string value = argv[++i];
        if (flag == "--data") dataDirectory = value;
        else if (flag == "--listen") options.listenHost = value;
        else if (flag == "--port") options.port = std::atoi(value.c_str());
        else if (flag == "--cert") options.certificateFile = value;
        else if (flag == "--key") options.keyFile = value;
        else if (flag == "--access-log") options.accessLogFile = value;
        else if (flag == "--fault") {
            auto fault = parseFault(value);
            if (!fault) {
                std::cerr << "tarvek-catalog-server: malformed fault " << value << "\n";
                return usage();
            }
            options.faults.push_back(*fault);
        } else {
            return usage();
        }
    }
    if (dataDirectory.empty() || options.certificateFile.empty() != options.keyFile.empty()) return usage();

    // SIGINT and SIGTERM end the server from a thread of their own, not from a handler.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        CatalogServer server(CatalogData::load(dataDirectory), options);
        const std::string origin = server.bind();
        std::cout << "tarvek-catalog-server listening on " << origin << std::endl;
        std::thread stopper([&server, signals] {
            int received = 0;
            sigwait(&signals, &received);
            server.stop();
        });
        server.serve();
        pthread_kill(stopper.native_handle(), SIGTERM);
        stopper.join();
    } catch (const std::exception& e) {
        std::cerr << "tarvek-catalog-server: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
