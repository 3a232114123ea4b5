#include <string>

#include "host/file_path.h"

namespace tarvek {

std::filesystem::path openablePath(std::string_view modulePath) {
    std::string path(modulePath);
    for (char& c : path)
        if (c == '\\') c = '/';
    return std::filesystem::path(path);
}

}  // namespace tarvek
