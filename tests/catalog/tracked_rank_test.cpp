// A tracked-rank catalog applied to the blue slot: every status, a ghost that loads or does not,
// the personal record restored, and a catalog made for another rank.
#include <gtest/gtest.h>

#include "catalog/catalog_sync_state.h"
#include "catalog/map_selection.h"
#include "catalog/tracked_rank.h"
#include "chat_test_host.h"
#include "host/settings.h"
#include "race/race_state.h"
#include "support/ghost_files.h"
#include "support/race_host.h"

namespace tarvek::testing {
namespace {

const std::string kHash = std::string(63, 'e') + "5";

struct TrackCase {
    int32_t rank;
    int32_t catalogRank;
    const char* status;
    const char* player;  // the player section: "__track__", an account key, or "" for none
    const char* ghostFile;
    const char* reply;  // nullptr: not handled
    size_t blueFrames;  // the blue slot held 2 frames before
};

const TrackCase kTrackCases[] = {
    {7, 7, "ready", "__track__", "good.tkghost", "Tarvek: rank 07 - Zo\xEB is now the blue ghost.", 3},
    {7, 7, "ready", "__track__", "bad.tkghost", "Tarvek: the selected ghost file failed validation.", 2},
    {7, 7, "ready", "__track__", "", "Tarvek: the selected rank could not be loaded.", 2},
    {7, 7, "world_record", "__track__", "good.tkghost", "Tarvek: rank 01 is already the gold world-record ghost.", 2},
    {7, 7, "ambiguous_tie", "", "", "Tarvek: that rank is tied; choose a non-tied leaderboard rank.", 2},
    {7, 7, "ghost_unavailable", "", "", "Tarvek: that record has no published ghost yet.", 2},
    {7, 7, "", "", "", "Tarvek: that rank does not exist on this leaderboard.", 2},
    {7, 8, "ready", "__track__", "good.tkghost", nullptr, 2},
    {0, 0, "", "acc-me", "good.tkghost", "Tarvek: your personal-best ghost is blue again.", 3},
    {0, 0, "", "acc-other", "good.tkghost", "Tarvek: personal-best tracking restored; no PB ghost is available here.", 0},
};

class TrackedRankTest : public ChatHostTest {
protected:
    TrackedRankTest() {
        moduleDir.write("good.tkghost", encodeGhost(framesWithSegments({0, 0, 0})));
        moduleDir.write("bad.tkghost", "TARVEK2");
        identifyMap(kHash, true);
        mapSelection().playerAccountKey = "acc-me";
    }

    bool apply(const TrackCase& c) {
        std::string text = "[Catalog]\nTrackRank=" + std::to_string(c.catalogRank) + "\nTrackStatus=" + c.status + "\n";
        if (*c.player)
            text += "[Map." + kHash + ".BigRR.Player." + c.player + "]\nPersonalRecordGhostFile=" + c.ghostFile +
                    "\nPersonalRecordPlayerName=Zo\xC3\xAB\n";
        writeCachedCatalog(c.rank, text);
        blueGhost() = recordingFromPaths({straightRun(1, 1, 0, 0, 1)});
        catalogSyncState().trackedRank = c.rank;
        catalogSyncState().trackedRankPending = true;
        return applyTrackedRankCatalog(world.world());
    }
};

TEST_F(TrackedRankTest, EachCatalogOutcomeGetsItsReplyAndOnlyALoadedGhostReplacesTheBlueOne) {
    for (const TrackCase& c : kTrackCases) {
        SCOPED_TRACE(std::to_string(c.rank) + " " + c.status + " " + c.player + " " + c.ghostFile);
        host.clearCallRecords();
        const bool handled = apply(c);
        EXPECT_EQ(handled, c.reply != nullptr);
        EXPECT_EQ(chat.printed(), c.reply ? std::vector<std::string>{c.reply} : std::vector<std::string>{});
        EXPECT_EQ(blueGhost().frames.size(), c.blueFrames);
        EXPECT_EQ(catalogSyncState().trackedRankPending, !handled);
        if (c.blueFrames == 3) {
            EXPECT_EQ(settings().personalGhostFile, c.ghostFile);
        }
    }
    EXPECT_FALSE(settings().personalRecordSet);
}

TEST_F(TrackedRankTest, ARankArrivingDuringARunningRaceJoinsItWhereTheLiveWormIs) {
    RaceState& race = raceState();
    race.raceStarted = true;
    race.raceFrames = 2;
    const GhostFrame shown;
    race.slots[kBlueSlot].currentFrame = &shown;
    ASSERT_TRUE(apply(kTrackCases[0]));
    EXPECT_EQ(race.slots[kBlueSlot].frameCursor, 1u + 2u);  // movement start + frames raced
    EXPECT_EQ(race.slots[kBlueSlot].currentFrame, nullptr);
}

}  // namespace
}  // namespace tarvek::testing
