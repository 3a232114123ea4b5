#pragma once
// A whole tarvek-sim run: the catalog server's data and authority, every chosen scenario, and
// the files and summary that come out.
#include <filesystem>
#include <string>
#include <vector>

#include "tools/tarvek-sim/race_run.h"

namespace tarvek::simtool {

struct SimRunOptions {
    std::string scenario = "all";
    std::string out;
    std::string serverBinary;
};

// The server's data for the scenarios and the authority its certificate comes from, under
// out/server; binary empty: tarvek-catalog-server beside this program.
ServerSetup prepareCatalogServer(const std::string& binary, const std::filesystem::path& out,
                                 const std::vector<scenarios::Scenario>& chosen);

// 0 when every scenario ran, 1 when one did not, 2 when no scenario has the name.
int runSimulation(const SimRunOptions& options);

}  // namespace tarvek::simtool
