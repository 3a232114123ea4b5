// Chat lines through the chat-send call site of the simulated game: which lines are commands,
// what each is answered with, and what a !track line requests.
#include <gtest/gtest.h>

#include "catalog/catalog_sync_state.h"
#include "chat_test_host.h"

namespace tarvek::testing {
namespace {

struct ChatCase {
    const char* line;
    bool mapIdentified;
    int32_t trackedBefore;
    const char* reply;  // nullptr: not a command, the game sends the line
    int32_t requested;  // rank handed to the tracked-rank request, -1 for none
};

const ChatCase kChatCases[] = {
    {" !TRACK ME", true, 0, "Tarvek: your personal best is already the blue ghost.", -1},
    {" !TRACK ME", true, 5, "Tarvek: restoring your personal-best ghost...", 0},
    {"!trackme", true, 0, nullptr, -1},
    {"hello !track 5", true, 0, nullptr, -1},
    {"!track", true, 0, "Tarvek: usage: !track 2 or !track me", -1},
    {"!ghost", true, 0, "Tarvek: usage: !track 2 or !track me", -1},
    {"\t!ghosts \r\n", true, 0, "Tarvek: usage: !track 2 or !track me", -1},
    {"!ghosts 5", true, 0, "Tarvek: loading rank 05 into the blue ghost slot...", 5},
    {"!Track 007", true, 0, "Tarvek: loading rank 07 into the blue ghost slot...", 7},
    {"!track 999", true, 0, "Tarvek: loading rank 999 into the blue ghost slot...", 999},
    {"!track 1", true, 0, "Tarvek: rank 01 is already the gold world-record ghost.", -1},
    {"!track 0", true, 0, "Tarvek: choose a leaderboard rank between 02 and 999.", -1},
    {"!track 1000", true, 0, "Tarvek: choose a leaderboard rank between 02 and 999.", -1},
    {"!track 4294967295", true, 0, "Tarvek: choose a leaderboard rank between 02 and 999.", -1},
    {"!track 4294967296", true, 0, "Tarvek: usage: !track 2 or !track me", -1},
    {"!track -3", true, 0, "Tarvek: usage: !track 2 or !track me", -1},
    {"!track 2 3", true, 0, "Tarvek: usage: !track 2 or !track me", -1},
    {"!track 12", false, 0, "Tarvek: no supported leaderboard is active yet.", -1},
    {"!ranks of the week", false, 0, "Tarvek: no supported leaderboard is active yet.", -1},
    {"!RECORDS", true, 0, "Tarvek: leaderboard data is loading; try !ranks again shortly.", -1},
};

class ChatCommandTest : public ChatHostTest {};

TEST_F(ChatCommandTest, EveryLineOfTheGrammarGetsItsReply) {
    for (const ChatCase& c : kChatCases) {
        SCOPED_TRACE(c.line);
        resetCatalogSync();
        host.clearCallRecords();
        identifyMap(c.mapIdentified ? mapHash : "", true);
        catalogSyncState().trackedRank = c.trackedBefore;
        chat.send(c.line);
        const bool consumed = c.reply != nullptr;
        EXPECT_EQ(host.chatSends().size(), consumed ? 0u : 1u);
        EXPECT_EQ(chat.printed(), consumed ? std::vector<std::string>{c.reply} : std::vector<std::string>{});
        EXPECT_EQ(catalogSyncState().trackedRankPending ? catalogSyncState().trackedRank : -1, c.requested);
    }
}

TEST_F(ChatCommandTest, ALineRunningIntoUnreadableMemoryGoesToTheGame) {
    identifyMap(mapHash, true);
    const std::string line = "!track 5";  // no NUL before the guard page after the allocation
    const HostAddr page = host.space().allocate(sim::kPageSize);
    const HostAddr text = page + sim::kPageSize - static_cast<HostAddr>(line.size());
    host.space().write(text, line.data(), line.size());
    chat.sendFrom(text);
    chat.sendFrom(0);
    EXPECT_EQ(host.chatSends().size(), 2u);
    EXPECT_TRUE(chat.printed().empty());
    EXPECT_FALSE(catalogSyncState().trackedRankPending);
}

TEST_F(ChatCommandTest, TheLeaderboardListsTheFirstTenEntriesAndSkipsIncompleteOnes) {
    identifyMap(mapHash, false);
    std::string text = "[Catalog]\nMapHash=" + mapHash + "\nTrackStatus=published\n[Map." + mapHash +
                       ".TTRR]\nLeaderboardEntryCount=25\n";
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

TEST_F(ChatCommandTest, TheLeaderboardSaysWhyItHasNoRows) {
    identifyMap(mapHash, true);
    const std::string head = "[Catalog]\nMapHash=" + mapHash + "\n";
    const std::string section = "[Map." + mapHash + ".BigRR]\n";
    const struct {
        std::string catalog;
        const char* reply;
    } cases[] = {
        {"[Catalog]\nMapHash=" + std::string(64, 'd') + "\nTrackStatus=published\n",
         "Tarvek: leaderboard data is loading; try !ranks again shortly."},
        {head + section + "LeaderboardEntryCount=3\n", "Tarvek: this server does not provide chat leaderboard data."},
        {head + "TrackStatus=published\n" + section + "LeaderboardEntryCount=0\n",
         "Tarvek: this leaderboard has no published ranks yet."},
    };
    for (const auto& c : cases) {
        host.clearCallRecords();
        writeCachedCatalog(0, c.catalog);
        chat.send("!rank");
        EXPECT_EQ(chat.printed(), std::vector<std::string>{c.reply});
    }
}

}  // namespace
}  // namespace tarvek::testing
