#pragma once
// Diagnostic log. A line is composed by the caller exactly as it should read; the log adds nothing.
// Without a sink (the DLL's default) lines are discarded.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarvek {

// Callable from any thread; never throws.
void logLine(std::string_view text) noexcept;

using LogSink = std::function<void(const std::string&)>;

// Installs a sink (empty to remove it). Sinks run under the log's lock, one line at a time.
void setLogSink(LogSink sink);

// Collects every line logged while it lives; for tests and tools.
class CapturedLog {
public:
    CapturedLog();
    ~CapturedLog();
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    std::vector<std::string> lines() const;
    bool contains(std::string_view line) const;
    void clear();

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace tarvek
