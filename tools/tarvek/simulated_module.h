#pragma once
// The module on the simulated game for a subcommand: settings read from a module directory (as
// the game's process finds them beside the library) and, optionally, the game's network
// nickname of the local player.
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "sim/sim_host.h"

namespace tarvek::cli {

struct SimulatedModule {
    SimulatedModule(const std::string& moduleDirectory, const std::optional<std::string>& nickname);
    ~SimulatedModule();

    sim::SimHost host;
};

// 64 hexadecimal digits.
CLI::Validator mapHashValidator();

}  // namespace tarvek::cli
