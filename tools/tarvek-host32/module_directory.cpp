#include "tools/tarvek-host32/module_directory.h"

#include <fstream>
#include <sstream>

namespace tarvek::host32 {

namespace fs = std::filesystem;

fs::path prepareModuleDirectory(const fs::path& dir, const fs::path& module, const std::vector<ModuleFile>& files) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path copy = dir / "wkTarvek.dll";
    fs::copy_file(module, copy);
    for (const auto& file : files) {
        const fs::path path = dir / fs::path(file.name).make_preferred();
        fs::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        out << file.content;
        if (!out.flush()) throw fs::filesystem_error("cannot write", path, std::make_error_code(std::errc::io_error));
    }
    return copy;
}

std::vector<std::string> readLines(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace tarvek::host32
