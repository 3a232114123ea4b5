#pragma once
// The reference catalog server this build made, as a child process for one test.
#include "tools/tarvek-catalog-server/server_process.h"

namespace tarvek::testing {

class CatalogServerProcess : public server::ServerProcess {
public:
    explicit CatalogServerProcess(const std::string& dataDirectory, const std::vector<std::string>& arguments = {})
        : ServerProcess(TARVEK_CATALOG_SERVER_BINARY, dataDirectory, arguments) {}
};

}  // namespace tarvek::testing
