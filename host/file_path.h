#pragma once
// Module file paths (settings, catalogs, ghosts) are narrow texts formed Windows-style
// (joinModulePath uses backslashes). The platform layer turns one into a path it can open: in
// Windows through the ANSI code page, as the game's own narrow file calls do; elsewhere with a
// backslash standing for the directory separator.
#include <filesystem>
#include <string_view>

namespace tarvek {

std::filesystem::path openablePath(std::string_view modulePath);

}  // namespace tarvek
