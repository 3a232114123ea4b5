#pragma once
// The server's content: ghost and tail files indexed by name, and per season the leaderboards of
// every map and race type, loaded once from a data directory.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tarvek::server {

struct StoredFile {
    std::string bytes;
    std::string sha256;  // upper-case hex of bytes
};

struct LeaderboardRecord {
    int rank = 0;
    std::string accountKey;
    std::string playerName;
    std::string result;
    std::string ghostSha256;  // upper-case; empty when the record has no published ghost
};

struct MapBoard {
    std::string mapHash;   // lower-case
    std::string raceType;  // as the module sends it: BigRR, TTRR, TrickRace or BungeeRace
    std::string name;
    std::vector<LeaderboardRecord> records;  // ascending rank
};

struct CatalogQuery {
    std::string seasonKey;
    std::optional<std::string> playerAccountKey;
    std::optional<std::string> playerName;
    std::optional<std::string> mapHash;
    std::optional<std::string> raceType;
    int trackRank = 0;
};

class CatalogData {
public:
    // Throws std::runtime_error with a readable reason when the directory is malformed.
    static CatalogData load(const std::filesystem::path& directory);

    // Files under ghosts/, by lower-case file name.
    const StoredFile* file(const std::string& name) const;
    // The catalog text for a query, or nothing when the season is unknown.
    std::optional<std::string> catalogFor(const CatalogQuery& query) const;

private:
    std::map<std::string, StoredFile> files_;
    std::map<std::string, std::vector<MapBoard>> seasons_;
};

}  // namespace tarvek::server
