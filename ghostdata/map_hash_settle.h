#pragma once
// Settles the map hash of a match once the host has built the map: terrain hash always,
// geometry hash from the landscape capture (or, without borders, from the mask as it stands).
#include <cstdint>
#include <string>
#include <string_view>

#include "host/host_memory.h"

namespace tarvek {

inline constexpr std::string_view kNoBordersGeometrySource =
    "post-load Landscape+0x914 collision mask (scheme has no borders)";

// Per match; the match epoch starts each one afresh.
struct MapHashState {
    std::string terrainHash;
    std::string geometryHash;
    std::string geometrySource;
    std::string mapHash;  // geometry hash when known, else terrain hash
    uint32_t mapWidth = 0;
    uint32_t mapHeight = 0;
    bool settled = false;
    uint32_t waits = 0;  // frames the hash could not be settled on, saturating
};

MapHashState& mapHashState();

// One attempt per frame until settled. True only on the call that settles the hash; the caller
// then starts the catalog request and the ghost selection.
bool settleMapHash(const HostMemory& memory, HostAddr world, MapHashState& state);

}  // namespace tarvek
