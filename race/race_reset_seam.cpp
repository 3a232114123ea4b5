#include "race/race_reset_seam.h"

namespace tarvek {

// Nothing to reset until the race engine holds cursors, comparisons and disciplines.
void resetGhostCursorsAndComparisons(bool) {}
void resetDisciplineFlags() {}

}  // namespace tarvek
