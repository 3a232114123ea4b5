// Placeholder until the SHA-extension engine lands: the CPU check reports no extensions, so the
// portable engine is used everywhere.
#include "ghostdata/sha256.h"

namespace tarvek {
bool cpuHasShaExtensions() { return false; }
namespace detail {
bool sha256CompressX86Available() { return false; }
void sha256CompressX86(uint32_t state[8], const uint8_t* blocks, size_t blockCount) {
    sha256CompressPortable(state, blocks, blockCount);
}
}  // namespace detail
}  // namespace tarvek
