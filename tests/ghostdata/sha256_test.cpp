#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ghostdata/sha256.h"

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>

#include <cstring>
#include <fstream>
#include <sstream>
#define TARVEK_CHECK_CPUINFO 1
#endif

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
}

// Feeding a message in uneven pieces must give the digest of the whole, across every length
// that moves the final padding between one and two blocks.
TEST_P(Sha256Engines, IncrementalEqualsOneShot) {
    std::mt19937 random(7);
    std::string message(300, '\0');
    for (char& c : message) c = static_cast<char>(random());
    for (size_t length = 0; length <= message.size(); ++length) {
        const std::string whole = hashWith(Sha256Engine::Portable, std::string_view(message).substr(0, length));
        Sha256 hasher(GetParam());
        size_t done = 0;
        while (done < length) {
            const size_t piece = std::min<size_t>(length - done, 1 + random() % 70);
            hasher.update(message.data() + done, piece);
            done += piece;
        }
        ASSERT_EQ(hasher.finishHex(), whole) << "length " << length;
        // After finish the hasher starts over with an empty message.
        ASSERT_EQ(hasher.finishHex(), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Sha256Engines,
                         ::testing::Values(Sha256Engine::Portable, Sha256Engine::X86ShaExtensions),
                         [](const auto& info) {
                             return info.param == Sha256Engine::Portable ? std::string("Portable")
                                                                         : std::string("X86ShaExtensions");
                         });

TEST(Sha256Dispatch, DefaultEngineFollowsTheCpu) {
    EXPECT_EQ(defaultSha256Engine(),
              cpuHasShaExtensions() ? Sha256Engine::X86ShaExtensions : Sha256Engine::Portable);
}

#if TARVEK_CHECK_CPUINFO
// The value of the first "name : value" line of /proc/cpuinfo with that name.
std::string cpuinfoField(const std::string& name) {
    std::ifstream in("/proc/cpuinfo");
    for (std::string line; std::getline(in, line);) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string key = line.substr(0, colon);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.pop_back();
        if (key != name) continue;
        const size_t start = line.find_first_not_of(' ', colon + 1);
        return start == std::string::npos ? std::string() : line.substr(start);
    }
    return {};
}

// "family model stepping" as the kernel derives them from cpuid leaf 1.
std::string cpuidSignature() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return {};
    unsigned family = (eax >> 8) & 0xF, model = (eax >> 4) & 0xF;
    if (family == 0xF) family += (eax >> 20) & 0xFF;
    if (family >= 6) model += ((eax >> 16) & 0xF) << 4;
    return std::to_string(family) + " " + std::to_string(model) + " " + std::to_string(eax & 0xF);
}

TEST(Sha256Dispatch, DetectionAgreesWithProcCpuinfo) {
    const std::string flags = cpuinfoField("flags");
    if (flags.empty()) GTEST_SKIP() << "/proc/cpuinfo has no flags line";
    // Under an emulator cpuid describes the emulated CPU, not the one /proc/cpuinfo reports.
    const std::string host = cpuinfoField("cpu family") + " " + cpuinfoField("model") + " " + cpuinfoField("stepping");
    if (cpuidSignature() != host)
        GTEST_SKIP() << "cpuid reports CPU " << cpuidSignature() << ", /proc/cpuinfo " << host;
    std::istringstream words(flags);
    bool sha = false, sse41 = false, ssse3 = false;
    for (std::string word; words >> word;) {
        sha = sha || word == "sha_ni";
        sse41 = sse41 || word == "sse4_1";
        ssse3 = ssse3 || word == "ssse3";
    }
    EXPECT_EQ(cpuHasShaExtensions(), sha && sse41 && ssse3) << flags;
}
#endif

}  // namespace
}  // namespace tarvek
