#pragma once
// The end-of-turn gap message: posted on the game thread, drawn by the display's overlay
// routine. One instance, guarded by the gap message lock.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string_view>

#include "host/host_memory.h"

namespace tarvek {

inline constexpr uint64_t kGapMessageDurationMs = 3200;

struct GapMessage {
    std::array<char, 128> text{};  // NUL-terminated; fixed so the overlay never allocates
    uint32_t status = 0;
    HostAddr world = 0;
    HostAddr display = 0;
    uint64_t startTick = 0;
    uint64_t durationMs = kGapMessageDurationMs;
    uint64_t sequence = 0;  // never 0 once posted
    bool active = false;

    std::string_view textView() const { return text.data(); }
};

class GapMessageBoard {
public:
    // Replaces any active message; returns the new message's sequence number.
    uint64_t post(std::string_view text, uint32_t status, HostAddr world, HostAddr display, uint64_t tick);
    void drop();

    // The overlay's look at the board: a message whose world is no longer the current world,
    // whose start lies after tick, or whose time is up is dropped first. True, with a copy of
    // the message, when one is active for this display.
    bool activeFor(HostAddr currentWorld, HostAddr display, uint64_t tick, GapMessage& out);

    // Messages are posted only while the overlay routine that draws them is installed.
    void setOverlayInstalled(bool installed) { overlayInstalled_.store(installed); }
    bool overlayInstalled() const { return overlayInstalled_.load(); }

private:
    std::mutex mutex_;
    GapMessage message_;
    uint64_t lastSequence_ = 0;
    std::atomic<bool> overlayInstalled_{false};
};

GapMessageBoard& gapMessageBoard();

// Milliseconds from a steady clock: the start and age of messages.
uint64_t millisecondTick();

}  // namespace tarvek
