#include "sync/sha256_hasher.h"

namespace tarvek {

std::string cacheSha256Hex(std::string_view bytes) {
    Sha256Hasher hasher;
    hasher.update(bytes.data(), bytes.size());
    return hasher.finishHex();
}

}  // namespace tarvek
