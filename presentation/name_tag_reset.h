#pragma once
// Cached name-tag bitmaps belong to the ghosts they name: emptied slots drop them.

namespace tarvek {

void dropGhostNameTags();

}  // namespace tarvek
