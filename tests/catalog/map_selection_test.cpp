// Map selection through the frame driver: each new world settles its map hash and selects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "catalog/catalog_paths.h"
#include "catalog/map_selection.h"
#include "catalog/player_identity.h"
#include "host/host_layout.h"
#include "host/log.h"
#include "host/settings.h"
#include "race/frame_driver.h"
#include "race/map_ghost_pipeline.h"
#include "race/race_state.h"
#include "race/race_type.h"
#include "sim/sim_bitmap.h"
#include "support/ghost_files.h"
#include "support/race_host.h"
#include "support/sim_map.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

using testing::patternMaskRows;
using testing::patternTerrain;

constexpr uint32_t kWidth = 4, kHeight = 3;

class MapSelectionTest : public testing::RaceHostTest {
protected:
    MapSelectionTest() {
        settings().moduleDirectory = dir.path().string();
        settings().playerName = "Player One";
        dir.write("wr.tkghost", testing::encodeGhost(testing::framesWithSegments({0, 0, 0})));
        dir.write("pr.tkghost", testing::encodeGhost(testing::framesWithSegments({0, 0})));
        std::filesystem::create_directory(dir.path() / "wkTarvek.cache");
    }

    // A new world with the test map; its first frame message meets it and, from frame 1 on,
    // settles the hash and selects. With geometry, the scheme adds no borders, so the collision
    // mask names the map.
    sim::SimWorld& playNewWorld(int32_t frameCounter = 1, bool geometry = false) {
        sim::SimWorld& world = worlds.emplace_back(host.space());
        testing::giveWorldAMap(host.space(), world, kWidth, kHeight, geometry ? 0 : 1);
        world.setFrameCounter(frameCounter);
        frame(world);
        return world;
    }
    void frame(sim::SimWorld& world) {
        const sim::SimWorm worm(host, world, 1, 1);
        host.sendWormMessage(worm.address(), host_layout::message::kFrame);
    }
    void writeCache(const std::string& text) {
        const std::string key = derivePlayerKey("current", "", "Player One");
        dir.write("wkTarvek.cache/" + catalogFileName(hash, raceType().isBigRR, key), text);
    }
    std::string selectionLine(const std::string& name, const char* scheme, const char* source, const char* wr,
                              const char* pr) const {
        return "automatic map selection: " + name + " [scheme " + scheme + "], source " + source + ", hash " + hash +
               ", challenge 7, player Player One, WR " + wr + ", PR " + pr;
    }

    testing::TempDir dir;
    CapturedLog log;
    std::deque<sim::SimWorld> worlds;
    const std::string hash = testing::referenceTerrainHash(patternTerrain(kWidth, kHeight, 1), kWidth, kHeight);
    const std::string geometryHash = testing::referenceGeometryHash(patternMaskRows(kWidth, kHeight, 2), kWidth, kHeight);
    const std::string wrSection = "WorldRecordGhostFile=wr.tkghost\nWorldRecordPlayerName=";
    const std::string localCatalog = "[Map." + hash + ".TTRR]\nName=Mossy\nChallengeId=7\n" + wrSection +
                                     "Ann\n[Map." + hash + ".TTRR.Player.player_20one]\nPersonalRecordGhostFile=pr.tkghost\n"
                                     "PersonalRecordPlayerName=Bob\n";
};

TEST_F(MapSelectionTest, ServerCacheOnlyForItsMapRaceGameAndPlayerThenRemoteThenLocal) {
    const auto cache = [&](const std::string& schema, const std::string& mapHash, const char* game, const char* track,
                           const char* player, const char* wrName = "Zo\xC3\xAB") {
        return "[Catalog]\nSchemaVersion=" + schema + "\nMapHash=" + mapHash + "\nRaceType=ttrr\nGameVersion=" + game +
               "\nTrackRank=" + track + "\nRequestedPlayerName=" + player + "\n[Map." + hash +
               ".TTRR]\nName=Cached\nChallengeId=7\n" + wrSection + wrName + "\n";
    };
    std::string upperHash = hash;
    for (char& c : upperHash) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string remote = "[Catalog]\nGameVersion=3.8.1\n[Map." + hash + ".TTRR]\nName=Remote\nChallengeId=7\n" + wrSection + "Rem\n";
    const struct {
        std::string cache, remote, line;
    } rows[] = {
        {cache("1", hash, "3.8.1", "0", "player one"), remote, selectionLine("Cached", "TTRR, catalog unspecified", "server cache", "Zo\xEB", "unavailable")},
        {cache("1", upperHash, "3.8.1", "0", "Player One", "Zo\xEB"), "", selectionLine("Cached", "TTRR, catalog unspecified", "server cache", "Zo\xEB", "unavailable")},
        {cache("2", hash, "3.8.1", "0", "Player One"), remote, selectionLine("Remote", "TTRR, catalog unspecified", "server cache", "Rem", "unavailable")},
        {cache("1", hash, "3.8.2", "0", "Player One"), "", selectionLine("Mossy", "TTRR, catalog unspecified", "local fallback", "Ann", "Bob")},
        {cache("1", hash, "3.8.1", "5", "Player One"), "", selectionLine("Mossy", "TTRR, catalog unspecified", "local fallback", "Ann", "Bob")},
        {cache("1", hash, "3.8.1", "0", "Player Two"), "", selectionLine("Mossy", "TTRR, catalog unspecified", "local fallback", "Ann", "Bob")},
        {"", "[Catalog]\nGameVersion=3.8\n[Map." + hash + ".TTRR]\nName=Remote\n", selectionLine("Mossy", "TTRR, catalog unspecified", "local fallback", "Ann", "Bob")},
    };
    dir.write("wkTarvek.maps.ini", localCatalog);
    for (const auto& row : rows) {
        writeCache(row.cache);
        dir.write("wkTarvek.remote.ini", row.remote);
        log.clear();
        playNewWorld();
        EXPECT_TRUE(log.contains(row.line)) << row.line;
        EXPECT_FALSE(goldGhost().empty());
        EXPECT_EQ(blueGhost().empty(), row.line.find("PR Bob") == std::string::npos);
    }
}

TEST_F(MapSelectionTest, SectionDisciplineCategoryAndPersonalRecordRules) {
    const std::string h = hash, map = "Map." + hash, local = settings().moduleDirectory + "\\wkTarvek.maps.ini";
    const std::string recognized = "automatic player recognition: 'Player One' (detected key 'player_20one'";
    const std::string pr = "PersonalRecordGhostFile=pr.tkghost\nPersonalRecordPlayerName=Bob\n";
    const struct {
        int scheme;  // turn-time byte; -1: unreadable, the scheme's race type is unknown
        std::string cache, local;
        std::vector<std::string> lines;
        bool bigRR, trickRace, blue;
    } rows[] = {
        {30, "", "[" + map + "]\nName=Old\nCategory=BigRR\nChallengeId=7\n" + wrSection + "Ann\n", {selectionLine("Old", "BigRR, catalog BigRR", "local fallback", "Ann", "unavailable")}, true, false, false},
        {0, "", "[" + map + "]\nName=Old\nCategory=BigRR\n" + wrSection + "Ann\n", {"unknown map " + h + " (4x3); no WR/PR selected from " + local}, false, false, false},
        {0, "", "[" + map + "]\nName=Old\nChallengeId=7\n" + wrSection + "Ann\n", {selectionLine("Old", "TTRR, catalog unspecified", "local fallback", "Ann", "unavailable")}, false, false, false},
        {30, "", "[" + map + ".BigRR]\nName=T\nCategory=ttrr\nDiscipline=TrickRace\nChallengeId=7\n", {selectionLine("T", "TTRR, catalog ttrr", "local fallback", "unavailable", "unavailable")}, false, true, false},
        {30, "", "[" + map + ".BigRR]\nName=T\nCategory=ttrr\nDiscipline=bungeerace\nChallengeId=7\n", {selectionLine("T", "TTRR, catalog ttrr", "local fallback", "unavailable", "unavailable")}, false, false, false},
        {30, "", "[" + map + ".BigRR]\nName=T\nCategory=ttrr\nChallengeId=7\n", {"catalog category ttrr disagrees with scheme turn time; using BigRR", selectionLine("T", "BigRR, catalog ttrr", "local fallback", "unavailable", "unavailable")}, true, false, false},
        {-1, "", "[" + map + ".TTRR]\nName=T\nCategory=bigrr\nChallengeId=7\n", {selectionLine("T", "BigRR, catalog bigrr", "local fallback", "unavailable", "unavailable")}, true, false, false},
        {0, "", "[" + map + ".TTRR]\nName=Mossy\nChallengeId=7\n" + wrSection + "Ann\n[" + map + ".TTRR.Player.player_20one]\nPersonalRecordGhostFile=wr.tkghost\n", {selectionLine("Mossy", "TTRR, catalog unspecified", "local fallback", "Ann", "unavailable")}, false, false, false},
        {0, "", "[" + map + ".TTRR]\nName=M\nChallengeId=7\nPersonalRecordPlayerName=player one\nPersonalRecordGhostFile=pr.tkghost\n", {selectionLine("M", "TTRR, catalog unspecified", "local fallback", "unavailable", "player one")}, false, false, true},
        {0, "", "[PlayerAlias.player_20one]\nTarvekPlayerKey=acc-9\n[" + map + ".TTRR]\nName=M\n[" + map + ".TTRR.Player.acc-9]\n" + pr, {recognized + ", Tarvek account 'acc-9', identity source: wkTarvek.ini PlayerName override, key source: local Tarvek alias)"}, false, false, true},
        {0, "[Catalog]\nSchemaVersion=1\nMapHash=" + h + "\nRaceType=TTRR\nGameVersion=3.8.1\nRequestedPlayerName=Player One\nPlayerAccountKey=acc-7\n[" + map + ".TTRR]\n[" + map + ".TTRR.Player.acc-7]\n" + pr, "", {recognized + ", Tarvek account 'acc-7', identity source: wkTarvek.ini PlayerName override, key source: Tarvek server player resolution)"}, false, false, true},
    };
    for (const auto& row : rows) {
        row.scheme < 0 ? host.unmapScheme() : useScheme(static_cast<int8_t>(row.scheme));
        raceType().isBigRR = row.scheme > 0;  // the cache is named for the race type in force
        writeCache(row.cache);
        dir.write("wkTarvek.maps.ini", row.local);
        log.clear();
        playNewWorld();
        for (const std::string& line : row.lines) EXPECT_TRUE(log.contains(line)) << line;
        EXPECT_EQ(raceType().isBigRR, row.bigRR) << row.local;
        EXPECT_EQ(raceType().isTrickRace, row.trickRace) << row.local;
        EXPECT_EQ(!blueGhost().empty(), row.blue) << row.local;
    }
}

TEST_F(MapSelectionTest, NewWorldEmptiesTheSlotsAndWaitsForItsFirstFrame) {
    dir.write("wkTarvek.maps.ini", localCatalog);
    playNewWorld();
    ASSERT_FALSE(goldGhost().empty());
    ASSERT_FALSE(blueGhost().empty());
    log.clear();
    sim::SimWorld& next = playNewWorld(0);
    EXPECT_TRUE(goldGhost().empty());
    EXPECT_TRUE(goldGhost().segments.empty() && goldGhost().movementStart.empty());
    EXPECT_TRUE(blueGhost().empty());
    EXPECT_EQ(log.lines(), std::vector<std::string>{"new match epoch detected; invalidating race/map/catalog/graphics state (world allocation)"});
    EXPECT_TRUE(mapPipeline().activeMapHash.empty());
    next.setFrameCounter(1);
    frame(next);
    EXPECT_TRUE(log.contains(selectionLine("Mossy", "TTRR, catalog unspecified", "local fallback", "Ann", "Bob")));
    EXPECT_EQ(mapPipeline().activeMapHash, hash);
}

TEST_F(MapSelectionTest, GeometryHashFirstThenTerrainHash) {
    dir.write("wkTarvek.maps.ini", localCatalog);
    playNewWorld(1, true);
    const std::vector<std::string> lines = log.lines();
    const auto unknown = std::find(lines.begin(), lines.end(), "unknown map " + geometryHash + " (4x3); no WR/PR selected from " +
                                                                   settings().moduleDirectory + "\\wkTarvek.maps.ini");
    const auto selected = std::find(lines.begin(), lines.end(), selectionLine("Mossy", "TTRR, catalog unspecified", "local fallback", "Ann", "Bob"));
    EXPECT_LT(unknown, selected);
    EXPECT_NE(selected, lines.end());
    EXPECT_EQ(mapPipeline().activeMapHash, geometryHash);
}

uint64_t generation = 0, ticks = 0;
std::vector<std::string> requests;

// A catalog worker's side of the pipeline: generations, requests and ticks set by the test.
TEST_F(MapSelectionTest, NewCatalogContentReselectsBeforeTheAttemptAndJoinsAnAttemptWithoutGhosts) {
    generation = ticks = 0;
    requests.clear();
    mapPipelineLinks().catalogGeneration = [] { return generation; };
    mapPipelineLinks().tickMs = [] { return ticks; };
    mapPipelineLinks().requestCatalogSynchronization = [](const std::string& mapHash, bool, HostAddr) { requests.push_back(mapHash); };
    sim::SimWorld& world = playNewWorld();
    EXPECT_EQ(requests, std::vector<std::string>{hash});
    ticks = 249;
    frame(world);
    EXPECT_EQ(requests.size(), 1u);
    ticks = 250;
    frame(world);
    EXPECT_EQ(requests.size(), 2u);

    const struct { bool attemptStarted; const char* catalog; bool gold; bool joined; } phases[] = {
        {true, "", false, false},               // no ghost: the attempt goes on without one
        {true, localCatalog.c_str(), true, true},  // the first ghosts join the running attempt
        {true, "", true, false},                // ghosts in play stay for the attempt
        {false, "", false, false},              // before an attempt the selection runs again
    };
    for (const auto& phase : phases) {
        dir.write("wkTarvek.maps.ini", phase.catalog);
        frameDriver().attemptStarted = phase.attemptStarted;
        ++generation;
        log.clear();
        frame(world);
        EXPECT_EQ(!goldGhost().empty(), phase.gold) << phase.catalog;
        EXPECT_EQ(mapPipeline().ghostsLoaded, phase.gold);
        EXPECT_EQ(log.contains("late catalog activation joined the current TTRR attempt at logical segment 0, elapsed frame 0"),
                  phase.joined);
    }
}

}  // namespace
}  // namespace tarvek
