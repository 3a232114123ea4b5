#pragma once
// Follows the module's log file, which a writer thread of the module appends to: each take
// returns the whole lines added since the last one.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tarvek::scenarios {

class LogTail {
public:
    explicit LogTail(std::filesystem::path file) : file_(std::move(file)) {}

    // Waits until the file has not grown for quietFor (at most limit), then returns the new lines
    // (CR LF or LF ended; a line still being written waits for the next take).
    std::vector<std::string> takeWhenQuiet(std::chrono::milliseconds quietFor, std::chrono::milliseconds limit);

private:
    std::filesystem::path file_;
    uint64_t offset_ = 0;
};

}  // namespace tarvek::scenarios
