#include "tools/scenarios/module_directory.h"

#include <fstream>

namespace tarvek::scenarios {

namespace fs = std::filesystem;

fs::path prepareModuleDirectory(const fs::path& dir, const fs::path& module, const std::vector<ModuleFile>& files) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path copy = dir / "wkTarvek.dll";
    if (!module.empty()) fs::copy_file(module, copy);
    for (const auto& file : files) {
        const fs::path path = dir / fs::path(file.name).make_preferred();
        fs::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        out << file.content;
        if (!out.flush()) throw fs::filesystem_error("cannot write", path, std::make_error_code(std::errc::io_error));
    }
    return copy;
}

}  // namespace tarvek::scenarios
