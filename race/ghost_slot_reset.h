#pragma once
// Emptying the two ghost slots and everything that belongs to the ghosts in them.

namespace tarvek {

// Empties both slots, drops the ghosts' cached crown and name tags and resets the playback cursors and
// live comparisons. joinRunningRace is true when new ghosts are about to join an attempt that is
// already running (first-opportunity selection in a BigRR race without a discipline).
void resetGhostSlots(bool joinRunningRace);

}  // namespace tarvek
