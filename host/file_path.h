#pragma once
// Module file paths (settings, catalogs, ghosts) are narrow texts formed Windows-style
// (joinModulePath uses backslashes). In Windows they hold bytes of the ANSI code page and are
// opened as narrow names, which the C runtime reads in that code page as the game's own narrow
// file calls do (a std::filesystem::path made from them would not). The native build opens the
// same paths with a backslash standing for the directory separator.
#include <string>
#include <string_view>

namespace tarvek {

std::string openablePath(std::string_view modulePath);

}  // namespace tarvek
