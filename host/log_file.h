#pragma once
// The optional log file ([General] LogFile in wkTarvek.ini). Lines are queued by whichever thread
// logs them and written by a writer thread of their own, so no caller waits on the disk.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tarvek {

inline constexpr size_t kLogQueueLimit = 4096;

// Lines waiting for the writer. Bounded: a line that finds it full is dropped and counted.
class LogLineQueue {
public:
    explicit LogLineQueue(size_t limit) : limit_(limit) {}

    bool push(std::string_view line);
    // Waits for lines (or stop) and moves out everything queued with the drops since the last
    // take. False once stopped and drained.
    bool take(std::vector<std::string>& lines, uint64_t& dropped);
    void stop();

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::string> lines_;
    size_t limit_;
    uint64_t dropped_ = 0;
    bool stopped_ = false;
};

class LogFileWriter {
public:
    // Opens path for appending and starts the writer; null when the file cannot be opened.
    static std::unique_ptr<LogFileWriter> open(const std::filesystem::path& path, size_t limit = kLogQueueLimit);
    // Writes what is queued, then ends the writer thread.
    ~LogFileWriter();
    LogFileWriter(const LogFileWriter&) = delete;
    LogFileWriter& operator=(const LogFileWriter&) = delete;

    // Queues one line; it is written followed by CR LF. Never blocks on the disk, never throws.
    void post(std::string_view line) noexcept;

private:
    LogFileWriter(std::ofstream file, size_t limit);
    void run() noexcept;

    std::ofstream file_;
    LogLineQueue queue_;
    std::thread thread_;
};

// From now on every log line also goes to fileName (relative to the module directory) for the rest
// of the process. An empty name keeps the log without a file; false when the file cannot be opened.
bool startLogFile(std::string_view moduleDirectory, std::string_view fileName);

}  // namespace tarvek
