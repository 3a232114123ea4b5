// The module's own SHA-256 behind the hasher seam (the Windows build uses BCrypt).
#include "ghostdata/sha256.h"
#include "host/text.h"
#include "sync/sha256_hasher.h"

namespace tarvek {

struct Sha256Hasher::State {
    Sha256 sha;
};

Sha256Hasher::Sha256Hasher() : state_(std::make_unique<State>()) {}
Sha256Hasher::~Sha256Hasher() = default;

void Sha256Hasher::update(const void* data, size_t size) { state_->sha.update(data, size); }

std::string Sha256Hasher::finishHex() {
    const Sha256Digest digest = state_->sha.finish();
    return hexBytes(digest.data(), digest.size(), HexCase::Upper);
}

}  // namespace tarvek
