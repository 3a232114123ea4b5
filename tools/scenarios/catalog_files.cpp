#include "tools/scenarios/catalog_files.h"

namespace tarvek::scenarios {
namespace {

constexpr const char* kMapName = "Tarvek Sim Rope";

std::string line(const std::string& key, const std::string& value) { return key + "=" + value + "\r\n"; }

std::string recordKeys(const std::string& prefix, const BoardEntry& entry) {
    if (entry.ghostFile.empty()) return {};
    return line(prefix + "GhostFile", entry.ghostFile) + line(prefix + "PlayerName", entry.playerName);
}

}  // namespace

std::string settingsText(bool enabled) {
    return "[General]\r\n" + line("Enabled", enabled ? "1" : "0") + line("LogFile", kLogFileName) +
           line("PlayerAccountKey", kPlayerAccountKey);
}

std::string localCatalogText(const std::string& mapHash, const std::vector<LocalMapEntry>& maps) {
    std::string text;
    for (const LocalMapEntry& map : maps) {
        text += "[Map." + mapHash + "." + map.race + "]\r\n";
        text += line("Name", kMapName) + line("Category", map.category) + line("ChallengeId", "951");
        if (!map.discipline.empty()) text += line("Discipline", map.discipline);
        text += recordKeys("WorldRecord", map.worldRecord) + recordKeys("PersonalRecord", map.personalRecord);
    }
    return text;
}

std::string cachedCatalogText(const std::string& mapHash, const std::string& race, int trackRank,
                              const std::vector<BoardEntry>& board) {
    std::string text = "[Catalog]\r\n" + line("SchemaVersion", "1") + line("Season", kSeasonKey) +
                       line("MapHash", mapHash) + line("RaceType", race) + line("GameVersion", "3.8.1") +
                       line("PlayerAccountKey", kPlayerAccountKey) + line("RequestedPlayerName", "") +
                       line("TrackRank", std::to_string(trackRank)) +
                       line("TrackStatus", trackRank ? "tracked" : "published");
    const std::string section = "Map." + mapHash + "." + race;
    text += "[" + section + "]\r\n" + line("Name", kMapName) + line("Category", race == "BigRR" ? "bigrr" : "ttrr");
    if (!board.empty()) text += recordKeys("WorldRecord", board.front());
    text += line("LeaderboardEntryCount", std::to_string(board.size()));
    const BoardEntry* player = nullptr;
    for (size_t i = 0; i < board.size(); ++i) {
        const std::string prefix = "Leaderboard" + std::to_string(i + 1);
        text += line(prefix + "Rank", std::to_string(board[i].rank)) + line(prefix + "PlayerName", board[i].playerName) +
                line(prefix + "Result", board[i].result);
        if (trackRank ? board[i].rank == trackRank : board[i].accountKey == kPlayerAccountKey) player = &board[i];
    }
    if (player) {
        text += "[" + section + ".Player." + (trackRank ? std::string("__track__") : player->accountKey) + "]\r\n";
        text += recordKeys("PersonalRecord", *player);
    }
    return text;
}

std::string serverBoardText(const std::vector<BoardEntry>& board, const std::vector<std::string>& ghostSha256) {
    std::string text = std::string("name=") + kMapName + "\n";
    for (size_t i = 0; i < board.size(); ++i) {
        const BoardEntry& entry = board[i];
        text += "record=" + std::to_string(entry.rank) + "|" + entry.accountKey + "|" + entry.playerName + "|" +
                entry.result + "|" + (i < ghostSha256.size() ? ghostSha256[i] : "") + "\n";
    }
    return text;
}

}  // namespace tarvek::scenarios
