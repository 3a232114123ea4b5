#pragma once
// Names of the cached server catalogs in wkTarvek.cache beside the module.
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvek {

inline constexpr std::string_view kCacheDirectoryName = "wkTarvek.cache";

// "catalog-<hash>-<bigrr|ttrr>-<player key>.ini"
std::string catalogFileName(std::string_view mapHash, bool isBigRR, std::string_view playerKey);

// "-track-rank-<rank>" before a final ".ini" (or at the end); the path itself for rank 0.
std::string withTrackRankSuffix(std::string_view path, int32_t trackRank);

// The cached catalog of a map, race type, player and tracked rank in the module's cache directory.
std::string serverCatalogCachePath(std::string_view mapHash, bool isBigRR, std::string_view playerKey,
                                   int32_t trackRank);

}  // namespace tarvek
