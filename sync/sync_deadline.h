#pragma once
// Cooperative stop points of a synchronisation: the owner's cancel flag and the overall deadline.
#include <atomic>
#include <chrono>

namespace tarvek {

using SyncClock = std::chrono::steady_clock;

// Throws SyncError Cancelled when the flag is set, else Transport when the deadline has passed;
// otherwise returns the time left.
SyncClock::duration checkCancelAndDeadline(const std::atomic<bool>& cancel, SyncClock::time_point deadline);

// Only the flag: the last step of an atomic write is not bounded by the deadline.
void checkCancel(const std::atomic<bool>& cancel);

}  // namespace tarvek
