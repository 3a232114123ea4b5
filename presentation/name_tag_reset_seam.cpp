#include "presentation/name_tag_reset.h"

namespace tarvek {

// No name tag is cached until the crown and name-tag drawing exists.
void dropGhostNameTags() {}

}  // namespace tarvek
