#include <gtest/gtest.h>

#include <string>

#include "ghostdata/sha256.h"

namespace tarvek {
namespace {

std::string hashWith(Sha256Engine engine, std::string_view message) {
    Sha256 hasher(engine);
    hasher.update(message);
    return hasher.finishHex();
}

class Sha256Engines : public ::testing::TestWithParam<Sha256Engine> {};

TEST_P(Sha256Engines, NistVectors) {
    const Sha256Engine engine = GetParam();
    EXPECT_EQ(hashWith(engine, ""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hashWith(engine, "abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(hashWith(engine, "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(hashWith(engine,
                       "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu"),
              "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
    EXPECT_EQ(hashWith(engine, std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    // After finish the hasher starts over with an empty message.
    Sha256 hasher(engine);
    hasher.update("abc");
    hasher.finishHex();
    EXPECT_EQ(hasher.finishHex(), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

INSTANTIATE_TEST_SUITE_P(Engines, Sha256Engines,
                         ::testing::Values(Sha256Engine::Portable, Sha256Engine::X86ShaExtensions));


}  // namespace
}  // namespace tarvek
