#pragma once
// A scenario's module directory: a fresh folder holding a copy of the module and the files the
// scenario gives it (settings, catalogs, cache), the way a player's game folder would.
#include <filesystem>
#include <string>
#include <vector>

namespace tarvek::host32 {

struct ModuleFile {
    std::string name;  // relative to the module directory; "/" separates folders
    std::string content;
};

// Empties DIR (removing what a previous run left), copies the module into it and writes the
// files. Returns the path of the copied module; throws std::filesystem::filesystem_error.
std::filesystem::path prepareModuleDirectory(const std::filesystem::path& dir, const std::filesystem::path& module,
                                             const std::vector<ModuleFile>& files);

}  // namespace tarvek::host32
