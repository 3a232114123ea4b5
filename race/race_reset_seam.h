#pragma once
// What emptying the ghost slots passes on to the race engine.

namespace tarvek {

// The ghost-side end of resetRaceState: both slots' cursors and current frames, the live
// comparison states, and both ghost paths with their cache keys. joinRunningRace is true when
// new ghosts are about to join an attempt that is already running.
void resetGhostCursorsAndComparisons(bool joinRunningRace);

// Emptied slots carry no map discipline: TrickRace off, BungeeRace back to its settings default.
void resetDisciplineFlags();

}  // namespace tarvek
