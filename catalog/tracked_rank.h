#pragma once
// A leaderboard rank (or, for rank 0, the personal record again) in the blue ghost slot, once
// the catalog made for it has arrived.
#include "host/host_memory.h"

namespace tarvek {

// Examines the tracked-rank catalog of the current map and applies it: the blue slot is replaced
// only by a ghost that loads, and the player is told what happened. False when the cached file
// is not the one for the pending rank (the generation is then an ordinary catalog change).
bool applyTrackedRankCatalog(HostAddr world);

// The pending tracked rank ran out of download retries: tells the player once and ends the wait.
void noticeTrackedRankFailure(HostAddr world);

}  // namespace tarvek
