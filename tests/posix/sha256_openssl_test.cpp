#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <algorithm>
#include <random>

#include "ghostdata/sha256.h"

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

// Every length across the padding boundaries of three blocks, fed in pieces of random sizes.
TEST_P(Sha256AgainstOpenssl, RandomMessagesInRandomPieces) {
    std::mt19937 random(2026);
    for (size_t length = 0; length <= 200; ++length) {
        std::string message(length, '\0');
        for (char& byte : message) byte = static_cast<char>(random());
        Sha256 hasher(GetParam());
        for (size_t done = 0; done < length;) {
            const size_t piece = std::min<size_t>(length - done, random() % 70);
            hasher.update(message.data() + done, piece);
            done += piece;
        }
        ASSERT_EQ(digestHex(hasher.finish()), digestHex(opensslDigest(message))) << "length " << length;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Sha256AgainstOpenssl,
                         ::testing::Values(Sha256Engine::Portable, Sha256Engine::X86ShaExtensions));

}  // namespace
}  // namespace tarvek
