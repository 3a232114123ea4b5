#include "presentation/gap_message.h"

#include <algorithm>
#include <chrono>

namespace tarvek {

uint64_t GapMessageBoard::post(std::string_view text, uint32_t status, HostAddr world, HostAddr display,
                               uint64_t tick) {
    std::lock_guard<std::mutex> lock(mutex_);
    GapMessage message;
    const size_t length = std::min(text.size(), message.text.size() - 1);
    std::copy_n(text.data(), length, message.text.data());
    message.status = status;
    message.world = world;
    message.display = display;
    message.startTick = tick;
    if (++lastSequence_ == 0) lastSequence_ = 1;
    message.sequence = lastSequence_;
    message.active = true;
    message_ = message;
    return message.sequence;
}

void GapMessageBoard::drop() {
    std::lock_guard<std::mutex> lock(mutex_);
    message_.active = false;
}

bool GapMessageBoard::activeFor(HostAddr currentWorld, HostAddr display, uint64_t tick, GapMessage& out) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!message_.active) return false;
    if (message_.world != currentWorld || tick < message_.startTick || tick - message_.startTick >= message_.durationMs) {
        message_.active = false;
        return false;
    }
    if (message_.display != display) return false;
    out = message_;
    return true;
}

GapMessageBoard& gapMessageBoard() {
    static GapMessageBoard board;
    return board;
}

uint64_t millisecondTick() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace tarvek
