#pragma once
// Module file paths are formed Windows-style (joinModulePath uses backslashes). The native build
// opens the same paths, so there a backslash stands for the directory separator.
#include <filesystem>
#include <string_view>

namespace tarvek {

std::filesystem::path openablePath(std::string_view modulePath);

}  // namespace tarvek
