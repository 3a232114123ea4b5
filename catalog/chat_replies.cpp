#include "catalog/chat_replies.h"

namespace tarvek::chat_reply {

std::string twoDigitRank(int64_t rank) {
    std::string digits = std::to_string(rank);
    if (rank >= 0 && digits.size() < 2) digits.insert(0, 1, '0');
    return digits;
}

std::string loadingRank(uint32_t rank) {
    return "Tarvek: loading rank " + twoDigitRank(rank) + " into the blue ghost slot...";
}

std::string rankIsBlue(int32_t rank, std::string_view playerName) {
    return "Tarvek: rank " + twoDigitRank(rank) + " - " + std::string(playerName) + " is now the blue ghost.";
}

std::string downloadFailed(int32_t rank) {
    if (rank == 0) return "Tarvek: your personal-best ghost could not be downloaded; try !track me again.";
    return "Tarvek: rank " + twoDigitRank(rank) + " could not be downloaded; try !track " + std::to_string(rank) +
           " again.";
}

std::string_view forTrackStatus(std::string_view status) {
    if (status == "world_record") return kRankIsWorldRecord;
    if (status == "ambiguous_tie") return kRankTied;
    if (status == "ghost_unavailable") return kNoPublishedGhost;
    return kRankMissing;
}

std::string leaderboardRow(int64_t rank, std::string_view playerName, std::string_view result) {
    return twoDigitRank(rank) + " | " + std::string(playerName) + " | " + std::string(result);
}

}  // namespace tarvek::chat_reply
