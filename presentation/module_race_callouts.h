#pragma once
// The race engine's callout table as the module installs it: the engine's own routines with the
// presentation's graphics upkeep, gap message and name tags in their entries.
#include "race/race_callouts.h"

namespace tarvek {

RaceCallouts moduleRaceCallouts();

}  // namespace tarvek
