#include "host/module_path.h"

namespace tarvek {

std::string moduleDirectoryOf(std::string_view modulePath) {
    const size_t cut = modulePath.find_last_of("\\/");
    if (cut == std::string_view::npos) return ".";
    return std::string(modulePath.substr(0, cut));
}

std::string joinModulePath(std::string_view directory, std::string_view name) {
    const bool driveAbsolute = name.size() >= 3 &&
                               ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')) &&
                               name[1] == ':' && (name[2] == '\\' || name[2] == '/');
    if (driveAbsolute || directory.empty()) return std::string(name);
    std::string joined(directory);
    joined += '\\';
    joined += name;
    return joined;
}

}  // namespace tarvek
