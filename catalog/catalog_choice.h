#pragma once
// Which catalog file and section describe a map: the cached server catalog when it was made for
// this map, race type, game version and player; else the remote catalog; else the local one.
#include <string>
#include <string_view>

#include "catalog/player_identity.h"

namespace tarvek {

inline constexpr std::string_view kServerCacheSource = "server cache";
inline constexpr std::string_view kLocalFallbackSource = "local fallback";
inline constexpr std::string_view kSupportedGameVersion = "3.8.1";

struct CatalogFiles {
    std::string cache;
    std::string remote;  // empty when no remote catalog is configured
    std::string local;
};

struct CatalogChoice {
    std::string file;
    std::string section;
    bool fromServer = false;  // the cache or the remote catalog: names are UTF-8 there

    std::string_view source() const { return fromServer ? kServerCacheSource : kLocalFallbackSource; }
};

// "Map.<hash>.BigRR" or "Map.<hash>.TTRR".
std::string primaryMapSection(std::string_view mapHash, bool isBigRR);

CatalogChoice chooseCatalog(const CatalogFiles& files, std::string_view mapHash, bool isBigRR,
                            const PlayerIdentity& identity);

}  // namespace tarvek
