// BCrypt SHA-256 behind the hasher seam.
#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <vector>

#include "host/text.h"
#include "sync/sha256_hasher.h"
#include "sync/sync_error.h"

namespace tarvek {
namespace {

[[noreturn]] void failHash(const char* message) { throw SyncError(SyncErrorKind::Internal, message); }

bool succeeded(NTSTATUS status) { return status >= 0; }

}  // namespace

struct Sha256Hasher::State {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    std::vector<UCHAR> object;

    ~State() {
        if (hash) BCryptDestroyHash(hash);
        if (algorithm) BCryptCloseAlgorithmProvider(algorithm, 0);
    }
};

Sha256Hasher::Sha256Hasher() : state_(std::make_unique<State>()) {
    if (!succeeded(BCryptOpenAlgorithmProvider(&state_->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        failHash("BCryptOpenAlgorithmProvider failed");
    DWORD objectLength = 0;
    ULONG written = 0;
    if (!succeeded(BCryptGetProperty(state_->algorithm, BCRYPT_OBJECT_LENGTH, reinterpret_cast<PUCHAR>(&objectLength),
                                     sizeof objectLength, &written, 0)) ||
        written != sizeof objectLength || objectLength == 0)
        failHash("BCrypt SHA-256 setup failed");
    state_->object.resize(objectLength);
    if (!succeeded(BCryptCreateHash(state_->algorithm, &state_->hash, state_->object.data(), objectLength, nullptr, 0, 0)))
        failHash("BCryptCreateHash failed");
}

Sha256Hasher::~Sha256Hasher() = default;

void Sha256Hasher::update(const void* data, size_t size) {
    auto bytes = static_cast<PUCHAR>(const_cast<void*>(data));
    while (size > 0) {
        const ULONG piece = static_cast<ULONG>(std::min<size_t>(size, 1u << 30));
        if (!succeeded(BCryptHashData(state_->hash, bytes, piece, 0))) failHash("BCryptHashData failed");
        bytes += piece;
        size -= piece;
    }
}

std::string Sha256Hasher::finishHex() {
    UCHAR digest[32];
    if (!succeeded(BCryptFinishHash(state_->hash, digest, sizeof digest, 0))) failHash("BCryptFinishHash failed");
    return hexBytes(digest, sizeof digest, HexCase::Upper);
}

}  // namespace tarvek
