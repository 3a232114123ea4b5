#include "host/file_path.h"

namespace tarvek {

std::string openablePath(std::string_view modulePath) {
    std::string path(modulePath);
#ifndef _WIN32
    for (char& c : path)
        if (c == '\\') c = '/';
#endif
    return path;
}

}  // namespace tarvek
