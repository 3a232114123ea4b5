#include "host/file_path.h"

#include <string>

namespace tarvek {

std::filesystem::path openablePath(std::string_view modulePath) {
    std::string path(modulePath);
#ifndef _WIN32
    for (char& c : path)
        if (c == '\\') c = '/';
#endif
    return std::filesystem::path(path);
}

}  // namespace tarvek
