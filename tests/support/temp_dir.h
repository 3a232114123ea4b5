#pragma once
// A fresh directory for one test, removed with everything in it when the test ends.
#include <filesystem>
#include <string>
#include <string_view>

namespace tarvek::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes bytes to name inside the directory and returns the file's full path.
    std::string write(std::string_view name, std::string_view bytes) const;
    std::string file(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::string readFileBytes(const std::string& path);

}  // namespace tarvek::testing
