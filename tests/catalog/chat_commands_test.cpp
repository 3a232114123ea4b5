// Chat lines through the chat-send call site of the simulated game: which lines are commands,
// what each is answered with, and what a !track line requests.
#include <gtest/gtest.h>

#include "catalog/catalog_sync_state.h"
#include "chat_test_host.h"

namespace tarvek::testing {
namespace {

const std::string kHash = std::string(60, 'c') + "0a1b";
const std::string kBoard = "[Catalog]\nMapHash=" + kHash + "\nTrackStatus=published\n[Map." + kHash + ".BigRR]\n";
constexpr const char* kUsage = "Tarvek: usage: !track 2 or !track me";
constexpr const char* kRange = "Tarvek: choose a leaderboard rank between 02 and 999.";

struct ChatCase {
    std::string line;
    bool mapIdentified;
    int32_t trackedBefore;
    std::string catalog;  // the player's cached catalog of the map, when not empty
    const char* reply;    // nullptr: not a command, the game sends the line
    int32_t requested;    // rank handed to the tracked-rank request, -1 for none
};

const ChatCase kChatCases[] = {
    {" !TRACK ME", true, 0, "", "Tarvek: your personal best is already the blue ghost.", -1},
    {" !TRACK ME", true, 5, "", "Tarvek: restoring your personal-best ghost...", 0},
    {"!trackme", true, 0, "", nullptr, -1},
    {"hello !track 5", true, 0, "", nullptr, -1},
    {"!track", true, 0, "", kUsage, -1},
    {"!ghost", true, 0, "", kUsage, -1},
    {"\t!ghosts \r\n", true, 0, "", kUsage, -1},
    {"!ghosts 5", true, 0, "", "Tarvek: loading rank 05 into the blue ghost slot...", 5},
    {"!Track 007", true, 0, "", "Tarvek: loading rank 07 into the blue ghost slot...", 7},
    {"!track 999", true, 0, "", "Tarvek: loading rank 999 into the blue ghost slot...", 999},
    {"!track 1", true, 0, "", "Tarvek: rank 01 is already the gold world-record ghost.", -1},
    {"!track 0", true, 0, "", kRange, -1},
    {"!track 1000", true, 0, "", kRange, -1},
    {"!track 4294967295", true, 0, "", kRange, -1},
    {"!track 4294967296", true, 0, "", kUsage, -1},
    {"!track -3", true, 0, "", kUsage, -1},
    {"!track 2 3", true, 0, "", kUsage, -1},
    {"!track 12", false, 0, "", "Tarvek: no supported leaderboard is active yet.", -1},
    {"!ranks of the week", false, 0, kBoard, "Tarvek: no supported leaderboard is active yet.", -1},
    {"!RECORDS", true, 0, "", "Tarvek: leaderboard data is loading; try !ranks again shortly.", -1},
    {"!rank", true, 0, "[Catalog]\nMapHash=" + std::string(64, 'd') + "\nTrackStatus=published\n",
     "Tarvek: leaderboard data is loading; try !ranks again shortly.", -1},
    {"!ranking", true, 0, "[Catalog]\nMapHash=" + kHash + "\n",
     "Tarvek: this server does not provide chat leaderboard data.", -1},
    {"!leaderboards", true, 0, kBoard + "LeaderboardEntryCount=0\n",
     "Tarvek: this leaderboard has no published ranks yet.", -1},
};

class ChatCommandTest : public ChatHostTest {};

TEST_F(ChatCommandTest, EveryLineOfTheGrammarGetsItsReply) {
    for (const ChatCase& c : kChatCases) {
        SCOPED_TRACE(c.line);
        resetCatalogSync();
        host.clearCallRecords();
        identifyMap(kHash, true);
        writeCachedCatalog(0, c.catalog);
        if (!c.mapIdentified) identifyMap("", true);
        catalogSyncState().trackedRank = c.trackedBefore;
        chat.send(c.line);
        EXPECT_EQ(host.chatSends().size(), c.reply ? 0u : 1u);
        EXPECT_EQ(chat.printed(), c.reply ? std::vector<std::string>{c.reply} : std::vector<std::string>{});
        EXPECT_EQ(catalogSyncState().trackedRankPending ? catalogSyncState().trackedRank : -1, c.requested);
    }
}

TEST_F(ChatCommandTest, ALineRunningIntoUnreadableMemoryGoesToTheGame) {
    identifyMap(kHash, true);
    const std::string line = "!track 5";  // no NUL before the unmapped page after the allocation
    const HostAddr text = host.space().allocate(sim::kPageSize) + sim::kPageSize - static_cast<HostAddr>(line.size());
    host.space().write(text, line.data(), line.size());
    chat.sendFrom(text);
    chat.sendFrom(0);
    EXPECT_EQ(host.chatSends().size(), 2u);
    EXPECT_TRUE(chat.printed().empty());
    EXPECT_FALSE(catalogSyncState().trackedRankPending);
}

TEST_F(ChatCommandTest, TheLeaderboardListsTheFirstTenEntriesAndSkipsIncompleteOnes) {
    identifyMap(kHash, true);
    std::string text = kBoard + "LeaderboardEntryCount=25\n";
    for (int i = 1; i <= 25; ++i) {
        const std::string prefix = "Leaderboard" + std::to_string(i);
        text += prefix + "Rank=" + std::to_string(i == 5 ? 0 : i) + "\n";
        if (i != 3) text += prefix + "PlayerName=" + (i == 2 ? "Zo\xC3\xAB" : "P" + std::to_string(i)) + "\n";
        if (i != 7) text += prefix + "Result=0:" + std::to_string(10 + i) + "\n";
    }
    writeCachedCatalog(0, text);
    chat.send("!leaderboard please");
    EXPECT_EQ(chat.printed(), (std::vector<std::string>{"01 | P1 | 0:11", "02 | Zo\xEB | 0:12", "04 | P4 | 0:14",
                                                        "06 | P6 | 0:16", "08 | P8 | 0:18", "09 | P9 | 0:19",
                                                        "10 | P10 | 0:20"}));
}

}  // namespace
}  // namespace tarvek::testing
