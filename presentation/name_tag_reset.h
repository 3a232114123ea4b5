#pragma once
// Cached crown sprites and name tags belong to the ghosts they decorate: emptied slots drop
// them, and the next preparation builds them again.

namespace tarvek {

void dropCrownAndNameTags();
// The name-tag half of the above.
void dropGhostNameTags();

}  // namespace tarvek
