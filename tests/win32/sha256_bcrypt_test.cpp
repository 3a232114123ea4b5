#include <gtest/gtest.h>
#include <windows.h>
#include <bcrypt.h>

#include <optional>

#include "ghostdata/sha256.h"
#include "support/sha256_cases.h"

namespace tarvek {
namespace {

// SHA-256 of the Windows CNG provider, the hash the catalog worker uses for cache files.
class BcryptSha256 {
public:
    BcryptSha256() {
        if (BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) algorithm_ = nullptr;
    }
    ~BcryptSha256() {
        if (algorithm_) BCryptCloseAlgorithmProvider(algorithm_, 0);
    }
    BcryptSha256(const BcryptSha256&) = delete;
    BcryptSha256& operator=(const BcryptSha256&) = delete;

    bool ready() const { return algorithm_ != nullptr; }

    std::optional<Sha256Digest> digest(const std::string& message) const {
        BCRYPT_HASH_HANDLE hash = nullptr;
        if (BCryptCreateHash(algorithm_, &hash, nullptr, 0, nullptr, 0, 0) != 0) return std::nullopt;
        Sha256Digest digest{};
        auto* bytes = reinterpret_cast<PUCHAR>(const_cast<char*>(message.data()));
        const bool ok = BCryptHashData(hash, bytes, static_cast<ULONG>(message.size()), 0) == 0 &&
                        BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0) == 0;
        BCryptDestroyHash(hash);
        if (!ok) return std::nullopt;
        return digest;
    }

private:
    BCRYPT_ALG_HANDLE algorithm_ = nullptr;
};

class Sha256AgainstBcrypt : public ::testing::TestWithParam<Sha256Engine> {};

TEST_P(Sha256AgainstBcrypt, RandomMessagesUpTo10000Bytes) {
    const BcryptSha256 bcrypt;
    ASSERT_TRUE(bcrypt.ready());
    for (const auto& c : testing::sha256DifferentialCases(1180)) {
        const auto expected = bcrypt.digest(c.message);
        ASSERT_TRUE(expected) << "length " << c.message.size();
        ASSERT_EQ(digestHex(testing::moduleDigest(GetParam(), c)), digestHex(*expected))
            << "length " << c.message.size();
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Sha256AgainstBcrypt,
                         ::testing::Values(Sha256Engine::Portable, Sha256Engine::X86ShaExtensions));

}  // namespace
}  // namespace tarvek
