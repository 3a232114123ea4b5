#pragma once
// Messages for comparing the module's SHA-256 with another implementation: every length around
// the block and padding boundaries, then random lengths up to 10000 bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "ghostdata/sha256.h"

namespace tarvek::testing {

struct Sha256Case {
    std::string message;
    // Piece sizes that add up to the message length, to feed update() unevenly.
    std::vector<size_t> pieces;
};

std::vector<Sha256Case> sha256DifferentialCases(uint32_t seed);

// The digest of a case through the module's incremental interface with the given engine.
Sha256Digest moduleDigest(Sha256Engine engine, const Sha256Case& c);

}  // namespace tarvek::testing
