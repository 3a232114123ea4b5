#pragma once
// A scenario's module directory: a fresh folder holding the files the scenario gives it
// (settings, catalogs, ghosts, cache) and, for a host that loads the real library, a copy of it,
// the way a player's game folder would.
#include <filesystem>
#include <string>
#include <vector>

namespace tarvek::scenarios {

struct ModuleFile {
    std::string name;  // relative to the module directory; "/" separates folders
    std::string content;
};

// Empties DIR (removing what a previous run left), copies the module into it when one is named
// and writes the files. Returns the path the module has there; throws
// std::filesystem::filesystem_error.
std::filesystem::path prepareModuleDirectory(const std::filesystem::path& dir, const std::filesystem::path& module,
                                             const std::vector<ModuleFile>& files);

}  // namespace tarvek::scenarios
