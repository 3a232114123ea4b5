#pragma once
// The end-of-turn gap message shown when a started race ends.
#include "host/host_memory.h"

namespace tarvek {

void showEndOfTurnGap(HostAddr world);
// A new race: the gap may be shown again and the kept live time is dropped.
void clearEndOfTurnGap();
// Drops a pending gap message (under the gap message lock).
void dropEndOfTurnGap();

}  // namespace tarvek
