#pragma once
// What every accepted URL and file must satisfy, checked independently of the code under test.
// A violation aborts the fuzz run.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace tarvek::fuzzing {

inline void require(bool condition) {
    if (!condition) std::abort();
}

inline std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

inline void requireSafeUrl(std::string_view url) {
    require(!url.empty() && url[0] == '/');
    for (char c : url) require(static_cast<unsigned char>(c) >= 0x21 && static_cast<unsigned char>(c) <= 0x7E);
}

inline bool isDeviceName(const std::string& stem) {
    for (const char* name : {"con", "prn", "aux", "nul"})
        if (stem == name) return true;
    for (int digit = 1; digit <= 9; ++digit)
        if (stem == "com" + std::to_string(digit) || stem == "lpt" + std::to_string(digit)) return true;
    return false;
}

inline void requireSafeRelativePath(const std::filesystem::path& path, std::string_view extension) {
    const std::string name = path.generic_string();
    require(!name.empty() && name.find_first_of("/\\:") == std::string::npos && name != "." && name != "..");
    const std::string lowerName = lower(name);
    require(!isDeviceName(lowerName.substr(0, lowerName.find('.'))));
    require(lowerName.size() >= extension.size() &&
            lowerName.compare(lowerName.size() - extension.size(), extension.size(), extension) == 0);
}

}  // namespace tarvek::fuzzing
