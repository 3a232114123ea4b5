#pragma once
// The module on the simulated game for a subcommand: settings read from a module directory (as
// the game's process finds them beside the library) and the game's network nickname of the local
// player.
#include <optional>
#include <string>

#include "sim/sim_host.h"

namespace tarvek::cli {

bool isMapHash(const std::string& text);

// A --nickname (UTF-8) as the game holds it, in the ANSI code page; a usage error when it does not
// fit the game's field.
std::optional<std::string> checkNickname(const std::optional<std::string>& nicknameUtf8, std::string& ansi);

struct SimulatedModule {
    SimulatedModule(const std::string& moduleDirectory, const std::string& ansiNickname);

    sim::SimHost host;
};

}  // namespace tarvek::cli
