// BCrypt SHA-256 behind the hasher seam.
#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <vector>

#include "host/text.h"
#include "platform/win32/bcrypt_sha256_hasher.h"
#include "sync/sync_error.h"

namespace tarvek::win32 {
namespace {

[[noreturn]] void failHash(const char* message) { throw SyncError(SyncErrorKind::Internal, message); }

bool succeeded(NTSTATUS status) { return status >= 0; }

struct BcryptState {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    std::vector<UCHAR> object;

    ~BcryptState() {
        if (hash) BCryptDestroyHash(hash);
        if (algorithm) BCryptCloseAlgorithmProvider(algorithm, 0);
    }
};

class BcryptSha256Hasher final : public Sha256Hasher {
public:
    BcryptSha256Hasher();
    void update(const void* data, size_t size) override;
    std::string finishHex() override;

private:
    std::unique_ptr<BcryptState> state_ = std::make_unique<BcryptState>();
};

BcryptSha256Hasher::BcryptSha256Hasher() {
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

void BcryptSha256Hasher::update(const void* data, size_t size) {
    auto bytes = static_cast<PUCHAR>(const_cast<void*>(data));
    while (size > 0) {
        const ULONG piece = static_cast<ULONG>(std::min<size_t>(size, 1u << 30));
        if (!succeeded(BCryptHashData(state_->hash, bytes, piece, 0))) failHash("BCryptHashData failed");
        bytes += piece;
        size -= piece;
    }
}

std::string BcryptSha256Hasher::finishHex() {
    UCHAR digest[32];
    if (!succeeded(BCryptFinishHash(state_->hash, digest, sizeof digest, 0))) failHash("BCryptFinishHash failed");
    return hexBytes(digest, sizeof digest, HexCase::Upper);
}

}  // namespace

std::unique_ptr<Sha256Hasher> newBcryptSha256Hasher() { return std::make_unique<BcryptSha256Hasher>(); }

}  // namespace tarvek::win32
