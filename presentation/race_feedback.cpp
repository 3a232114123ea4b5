#include "presentation/race_feedback.h"

namespace tarvek {

// The gap message and its overlay land with the race feedback.
void showEndOfTurnGap(HostAddr) {}
void clearEndOfTurnGap() {}
void dropEndOfTurnGap() {}

}  // namespace tarvek
