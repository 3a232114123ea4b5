#include "sync/sync_deadline.h"

#include "sync/sync_error.h"

namespace tarvek {

void checkCancel(const std::atomic<bool>& cancel) {
    if (cancel.load()) throw SyncError(SyncErrorKind::Cancelled, "catalog synchronization cancelled");
}

SyncClock::duration checkCancelAndDeadline(const std::atomic<bool>& cancel, SyncClock::time_point deadline) {
    checkCancel(cancel);
    const auto now = SyncClock::now();
    if (now >= deadline) throw SyncError(SyncErrorKind::Transport, "catalog synchronization exceeded its deadline");
    return deadline - now;
}

}  // namespace tarvek
