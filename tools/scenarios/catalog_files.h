#pragma once
// The texts of a scenario's module directory and of the catalog server's data: settings, the
// local catalog, cached server catalogs and leaderboards.
#include <cstdint>
#include <string>
#include <vector>

namespace tarvek::scenarios {

inline constexpr const char* kPlayerAccountKey = "simplayer";
inline constexpr const char* kSeasonKey = "current";
// The log file every scenario's settings name, relative to its module directory.
inline constexpr const char* kLogFileName = "wkTarvek.log";

std::string settingsText(bool enabled);

struct BoardEntry {
    int rank = 0;
    std::string accountKey;
    std::string playerName;
    std::string result;
    std::string ghostFile;  // empty: no published ghost
};

// One map entry of the local catalog: Map.<hash>.<race> with its world and personal record.
struct LocalMapEntry {
    std::string race;        // "TTRR" or "BigRR"
    std::string category;    // "ttrr" or "bigrr"
    std::string discipline;  // "", "trickrace" or "bungeerace"
    BoardEntry worldRecord;
    BoardEntry personalRecord;
};

std::string localCatalogText(const std::string& mapHash, const std::vector<LocalMapEntry>& maps);

// A server catalog as the sync worker leaves it in the cache for (map, race, player, rank):
// the board, the world record and the player's record or, for a rank, the tracked one.
std::string cachedCatalogText(const std::string& mapHash, const std::string& race, int trackRank,
                              const std::vector<BoardEntry>& board);

// The server's leaderboard file: a name line and "record=rank|account|name|result|ghost sha".
std::string serverBoardText(const std::vector<BoardEntry>& board, const std::vector<std::string>& ghostSha256);

}  // namespace tarvek::scenarios
