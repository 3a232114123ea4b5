#include "support/sha256_cases.h"

#include <algorithm>
#include <random>

namespace tarvek::testing {

std::vector<Sha256Case> sha256DifferentialCases(uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<size_t> lengths;
    for (size_t n = 0; n <= 130; ++n) lengths.push_back(n);
    for (int i = 0; i < 300; ++i) lengths.push_back(random() % 10001);
    lengths.push_back(10000);

    std::vector<Sha256Case> cases;
    for (size_t length : lengths) {
        Sha256Case c;
        c.message.resize(length);
        for (char& byte : c.message) byte = static_cast<char>(random());
        for (size_t left = length; left > 0;) {
            const size_t piece = std::min<size_t>(left, random() % 200);
            c.pieces.push_back(piece);
            left -= piece;
        }
        cases.push_back(std::move(c));
    }
    return cases;
}

Sha256Digest moduleDigest(Sha256Engine engine, const Sha256Case& c) {
    Sha256 hasher(engine);
    size_t done = 0;
    for (size_t piece : c.pieces) {
        hasher.update(c.message.data() + done, piece);
        done += piece;
    }
    return hasher.finish();
}

}  // namespace tarvek::testing
