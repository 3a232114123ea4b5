#include <gtest/gtest.h>
#include <openssl/evp.h>

#include "ghostdata/sha256.h"
#include "support/sha256_cases.h"

namespace tarvek {
namespace {

Sha256Digest opensslDigest(const std::string& message) {
    Sha256Digest digest{};
    unsigned size = 0;
    if (!EVP_Digest(message.data(), message.size(), digest.data(), &size, EVP_sha256(), nullptr) || size != 32)
        ADD_FAILURE() << "EVP_Digest failed";
    return digest;
}

class Sha256AgainstOpenssl : public ::testing::TestWithParam<Sha256Engine> {};

TEST_P(Sha256AgainstOpenssl, RandomMessagesUpTo10000Bytes) {
    for (const auto& c : testing::sha256DifferentialCases(2026)) {
        ASSERT_EQ(digestHex(testing::moduleDigest(GetParam(), c)), digestHex(opensslDigest(c.message)))
            << "length " << c.message.size();
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Sha256AgainstOpenssl,
                         ::testing::Values(Sha256Engine::Portable, Sha256Engine::X86ShaExtensions));

}  // namespace
}  // namespace tarvek
