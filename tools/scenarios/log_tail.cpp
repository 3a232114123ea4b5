#include "tools/scenarios/log_tail.h"

#include <fstream>
#include <thread>

namespace tarvek::scenarios {
namespace {

uint64_t sizeOf(const std::filesystem::path& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    return error ? 0 : size;
}

}  // namespace

std::vector<std::string> LogTail::takeWhenQuiet(std::chrono::milliseconds quietFor, std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + limit;
    uint64_t size = sizeOf(file_);
    auto changed = Clock::now();
    while (Clock::now() - changed < quietFor && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (const uint64_t now = sizeOf(file_); now != size) {
            size = now;
            changed = Clock::now();
        }
    }

    std::vector<std::string> lines;
    std::ifstream in(file_, std::ios::binary);
    if (!in.seekg(static_cast<std::streamoff>(offset_))) return lines;
    std::string line;
    while (std::getline(in, line) && !in.eof()) {  // a line without its end is not finished yet
        offset_ += line.size() + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace tarvek::scenarios
