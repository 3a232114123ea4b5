#include "host/log.h"

#include <algorithm>
#include <atomic>
#include <mutex>

namespace tarvek {
namespace {

std::mutex sinkMutex;
LogSink sink;
std::atomic<bool> hasSink{false};

}  // namespace

void logLine(std::string_view text) noexcept {
    // The common case (no sink) takes no lock and allocates nothing.
    if (!hasSink.load(std::memory_order_acquire)) return;
    try {
        std::lock_guard<std::mutex> lock(sinkMutex);
        if (sink) sink(std::string(text));
    } catch (...) {
        // A line that cannot be delivered is dropped; nothing depends on it.
    }
}

void setLogSink(LogSink newSink) {
    std::lock_guard<std::mutex> lock(sinkMutex);
    sink = std::move(newSink);
    hasSink.store(static_cast<bool>(sink), std::memory_order_release);
}

struct CapturedLog::State {
    mutable std::mutex mutex;
    std::vector<std::string> lines;
};

CapturedLog::CapturedLog() : state_(std::make_shared<State>()) {
    auto state = state_;
    setLogSink([state](const std::string& line) {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->lines.push_back(line);
    });
}

CapturedLog::~CapturedLog() { setLogSink(nullptr); }

std::vector<std::string> CapturedLog::lines() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->lines;
}

bool CapturedLog::contains(std::string_view line) const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return std::find(state_->lines.begin(), state_->lines.end(), line) != state_->lines.end();
}

void CapturedLog::clear() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->lines.clear();
}

}  // namespace tarvek
