#pragma once
// Paths of the module's own files, formed as the game's Windows process sees them.
#include <string>
#include <string_view>

namespace tarvek {

// Everything before the last backslash or slash of the module's file path; "." without either.
std::string moduleDirectoryOf(std::string_view modulePath);

// Joins the module directory and a file name. A name with a drive letter, a colon and a
// separator is kept as it is; an empty directory yields the name. Names that start with a
// backslash or are UNC paths are joined like any other name.
std::string joinModulePath(std::string_view directory, std::string_view name);

}  // namespace tarvek
