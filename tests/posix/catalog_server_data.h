#pragma once
// A data directory for the reference catalog server: ghosts, tails and one leaderboard.
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tarvek::testing {

// Deterministic pseudo-random bytes (different seeds, different bytes).
std::string patternBytes(size_t size, uint32_t seed);

class CatalogServerData {
public:
    CatalogServerData();

    std::string directory() const { return dir_.path().string(); }

    // Stores a ghost under its SHA-256 name; returns the upper-case SHA-256.
    std::string addGhost(const std::string& bytes);
    // Stores the tail of a ghost; returns the tail's own upper-case SHA-256.
    std::string addTail(const std::string& ghostSha256, const std::string& bytes);
    // Writes the leaderboard of a map: lines "rank|account|name|result|ghost sha".
    void writeBoard(const std::string& season, const std::string& mapHash, const std::string& raceType,
                    const std::vector<std::string>& records);

private:
    TempDir dir_;
};

}  // namespace tarvek::testing
