#include "catalog/leaderboard.h"

#include <algorithm>

#include "catalog/chat_replies.h"
#include "catalog/catalog_paths.h"
#include "catalog/code_pages.h"
#include "catalog/player_identity.h"
#include "host/private_profile.h"
#include "race/frame_driver.h"
#include "race/map_ghost_pipeline.h"
#include "race/race_type.h"

namespace tarvek {

std::vector<std::string> leaderboardReplies() {
    const std::string& mapHash = mapPipeline().activeMapHash;
    const HostAddr world = frameDriver().pipelineWorld;
    if (mapHash.empty() || world == 0) return {std::string(chat_reply::kNoLeaderboard)};

    const bool isBigRR = raceType().isBigRR;
    const PlayerIdentity identity = buildPlayerIdentity(detectLocalPlayerName(world).name);
    const std::string path = serverCatalogCachePath(mapHash, isBigRR, identity.playerKey, 0);
    const std::string cachedHash = readProfileString(path, "Catalog", "MapHash", "");
    if (normalizePlayerName(cachedHash) != normalizePlayerName(mapHash))
        return {std::string(chat_reply::kLeaderboardLoading)};
    if (readProfileString(path, "Catalog", "TrackStatus", "").empty())
        return {std::string(chat_reply::kNoLeaderboardData)};

    const std::string section = "Map." + mapHash + (isBigRR ? ".BigRR" : ".TTRR");
    const int count = readProfileInt(path, section, "LeaderboardEntryCount", 0);
    if (count < 1) return {std::string(chat_reply::kNoPublishedRanks)};

    std::vector<std::string> rows;
    for (int i = 1; i <= std::min(count, kLeaderboardListedEntries); ++i) {
        const std::string prefix = "Leaderboard" + std::to_string(i);
        const int rank = readProfileInt(path, section, prefix + "Rank", 0);
        const std::string name = readProfileString(path, section, prefix + "PlayerName", "");
        const std::string result = readProfileString(path, section, prefix + "Result", "");
        if (rank > 0 && !name.empty() && !result.empty())
            rows.push_back(chat_reply::leaderboardRow(rank, convertCodePage(name, kUtf8CodePage, kAnsiCodePage), result));
    }
    return rows;
}

}  // namespace tarvek
