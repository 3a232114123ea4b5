#include "host/log_file.h"

#include "host/file_path.h"
#include "host/log.h"
#include "host/module_path.h"

namespace tarvek {

bool LogLineQueue::push(std::string_view line) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopped_ || lines_.size() >= limit_) {
            ++dropped_;
            return false;
        }
        lines_.emplace_back(line);
    }
    ready_.notify_one();
    return true;
}

bool LogLineQueue::take(std::vector<std::string>& lines, uint64_t& dropped) {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [this] { return stopped_ || !lines_.empty() || dropped_ != 0; });
    lines.assign(std::make_move_iterator(lines_.begin()), std::make_move_iterator(lines_.end()));
    lines_.clear();
    dropped = dropped_;
    dropped_ = 0;
    return !(stopped_ && lines.empty() && dropped == 0);
}

void LogLineQueue::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    ready_.notify_all();
}

std::unique_ptr<LogFileWriter> LogFileWriter::open(const std::filesystem::path& path, size_t limit) {
    std::ofstream file(path, std::ios::binary | std::ios::app);
    if (!file) return nullptr;
    return std::unique_ptr<LogFileWriter>(new LogFileWriter(std::move(file), limit));
}

LogFileWriter::LogFileWriter(std::ofstream file, size_t limit) : file_(std::move(file)), queue_(limit) {
    thread_ = std::thread([this] { run(); });
}

LogFileWriter::~LogFileWriter() {
    queue_.stop();
    if (thread_.joinable()) thread_.join();
}

void LogFileWriter::post(std::string_view line) noexcept {
    try {
        queue_.push(line);
    } catch (...) {
        // No memory for the line: it is lost, as a full queue would lose it.
    }
}

void LogFileWriter::run() noexcept {
    std::vector<std::string> lines;
    uint64_t dropped = 0;
    try {
        while (queue_.take(lines, dropped)) {
            for (const std::string& line : lines) file_ << line << "\r\n";
            if (dropped != 0) file_ << dropped << " log lines dropped (the log file could not keep up)\r\n";
            file_.flush();
        }
    } catch (...) {
        // A failing disk ends the file; logging goes on without it.
    }
}

bool startLogFile(std::string_view moduleDirectory, std::string_view fileName) {
    if (fileName.empty()) return true;
    const std::string path = joinModulePath(moduleDirectory, fileName);
    std::unique_ptr<LogFileWriter> writer = LogFileWriter::open(openablePath(path));
    if (!writer) return false;
    // The writer lives as long as the process: nothing is torn down while the game runs.
    LogFileWriter* forever = writer.release();
    setLogSink([forever](const std::string& line) { forever->post(line); });
    return true;
}

}  // namespace tarvek
