#include "sync/sha256_hasher.h"

namespace tarvek {

std::string cacheSha256Hex(const Platform& platform, std::string_view bytes) {
    const auto hasher = platform.newSha256Hasher();
    hasher->update(bytes.data(), bytes.size());
    return hasher->finishHex();
}

}  // namespace tarvek
