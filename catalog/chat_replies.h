#pragma once
// Every line the module writes into the game's chat. Each begins with "Tarvek: ", except the
// leaderboard lines, which are listing rows.
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvek::chat_reply {

inline constexpr std::string_view kUsage = "Tarvek: usage: !track 2 or !track me";
inline constexpr std::string_view kAlreadyPersonalBest = "Tarvek: your personal best is already the blue ghost.";
inline constexpr std::string_view kRestoringPersonalBest = "Tarvek: restoring your personal-best ghost...";
inline constexpr std::string_view kRankIsWorldRecord = "Tarvek: rank 01 is already the gold world-record ghost.";
inline constexpr std::string_view kRankOutOfRange = "Tarvek: choose a leaderboard rank between 02 and 999.";
inline constexpr std::string_view kNoLeaderboard = "Tarvek: no supported leaderboard is active yet.";
inline constexpr std::string_view kLeaderboardLoading = "Tarvek: leaderboard data is loading; try !ranks again shortly.";
inline constexpr std::string_view kNoLeaderboardData = "Tarvek: this server does not provide chat leaderboard data.";
inline constexpr std::string_view kNoPublishedRanks = "Tarvek: this leaderboard has no published ranks yet.";
inline constexpr std::string_view kRankTied = "Tarvek: that rank is tied; choose a non-tied leaderboard rank.";
inline constexpr std::string_view kNoPublishedGhost = "Tarvek: that record has no published ghost yet.";
inline constexpr std::string_view kRankMissing = "Tarvek: that rank does not exist on this leaderboard.";
inline constexpr std::string_view kRankNotLoaded = "Tarvek: the selected rank could not be loaded.";
inline constexpr std::string_view kGhostInvalid = "Tarvek: the selected ghost file failed validation.";
inline constexpr std::string_view kPersonalBestMissing =
    "Tarvek: personal-best tracking restored; no PB ghost is available here.";
inline constexpr std::string_view kPersonalBestBlue = "Tarvek: your personal-best ghost is blue again.";

// Decimal with at least two digits: 7 gives "07", 123 gives "123".
std::string twoDigitRank(int64_t rank);

std::string loadingRank(uint32_t rank);
std::string rankIsBlue(int32_t rank, std::string_view playerName);
// The reply when a tracked rank (or, for 0, the personal record) ran out of download retries.
std::string downloadFailed(int32_t rank);
// The reply for a TrackStatus other than "ready".
std::string_view forTrackStatus(std::string_view status);
std::string leaderboardRow(int64_t rank, std::string_view playerName, std::string_view result);

}  // namespace tarvek::chat_reply
