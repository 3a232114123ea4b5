#include "race/map_capture_step.h"

namespace tarvek {

// The pending capture arrives with the map geometry hash.
void dropStaleMapCapture(HostAddr, HostAddr, bool, uint64_t&) {}

}  // namespace tarvek
