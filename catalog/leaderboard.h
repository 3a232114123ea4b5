#pragma once
// The top ranks of the current map, from the player's ordinary cached server catalog.
#include <string>
#include <vector>

namespace tarvek {

inline constexpr int kLeaderboardListedEntries = 10;

// The chat lines that answer a leaderboard command: up to ten rows, or the one reply that says
// why there are none.
std::vector<std::string> leaderboardReplies();

}  // namespace tarvek
