#include "tools/scenarios/scenarios.h"

#include <algorithm>

#include "catalog/player_identity.h"
#include "catalog/catalog_paths.h"
#include "ghostdata/sha256.h"
#include "host/host_layout.h"
#include "module/startup.h"
#include "tools/scenarios/ghost_file.h"
#include "tools/scenarios/race_course.h"

namespace tarvek::scenarios {
namespace {

using sim::fixedPixels;
using sim::WormFrame;

// The field of the course: 25 players, ghosts published for ranks 1, 2, 3 and the local
// player's 7. A BigRR run is the same pace split over turns.
struct Racer {
    int rank;
    const char* account;
    const char* name;
    RunTurn run;  // TTRR
};

RunTurn pace(std::vector<std::pair<int32_t, uint32_t>> legs) { return RunTurn{kCourseStartX, 10, std::move(legs)}; }

const std::vector<Racer>& publishedRacers() {
    static const std::vector<Racer> racers{
        {1, "goldrunner", "GoldRunner", pace({{3, 180}})},
        {2, "silverswing", "SilverSwing", pace({{3, 100}, {2, 120}})},
        {3, "bronzerope", "BronzeRope", pace({{2, 100}, {3, 113}})},
        {7, kPlayerAccountKey, kPlayerAccountKey, pace({{2, 270}})},
    };
    return racers;
}

std::string ghostName(const std::string& race, int rank) {
    return "rank" + std::to_string(rank) + "-" + (race == "BigRR" ? "bigrr" : "ttrr") + ".tkghost";
}

// A TTRR run as `turns` BigRR turns of equal length.
std::vector<RunTurn> inTurns(const RunTurn& run, uint32_t turns) {
    if (turns <= 1) return {run};
    const int32_t length = turnEndX(run) - run.startX;
    std::vector<RunTurn> split;
    for (uint32_t t = 0; t < turns; ++t) {
        const int32_t from = run.startX + length * static_cast<int32_t>(t) / static_cast<int32_t>(turns);
        const int32_t to = run.startX + length * static_cast<int32_t>(t + 1) / static_cast<int32_t>(turns);
        // The run's speed where the turn starts.
        int32_t x = run.startX, speed = run.legs.back().first;
        for (const auto& [s, frames] : run.legs) {
            if (from < x + s * static_cast<int32_t>(frames)) { speed = s; break; }
            x += s * static_cast<int32_t>(frames);
        }
        const uint32_t frames = static_cast<uint32_t>((to - from + speed - 1) / speed);
        split.push_back(RunTurn{from, 10, {{speed, frames}}});
    }
    return split;
}

std::string resultText(int rank) { return std::to_string(30 + rank) + "." + std::to_string(10 + rank) + "s"; }

std::vector<BoardEntry> board(const std::string& race) {
    std::vector<BoardEntry> entries;
    for (int rank = 1; rank <= 25; ++rank) {
        BoardEntry entry{rank, "racer" + std::to_string(rank), "Racer" + std::to_string(rank), resultText(rank), ""};
        for (const Racer& racer : publishedRacers())
            if (racer.rank == rank) entry = {rank, racer.account, racer.name, resultText(rank), ghostName(race, rank)};
        entries.push_back(entry);
    }
    return entries;
}

std::string ghostBytes(const std::string& race, uint32_t turns, int rank) {
    for (const Racer& racer : publishedRacers())
        if (racer.rank == rank) return encodeGhostFile(inTurns(racer.run, race == "BigRR" ? turns : 1));
    return {};
}

BoardEntry entryOf(const std::string& race, int rank) { return board(race)[static_cast<size_t>(rank - 1)]; }

// The module directory of an offline race: settings, the local catalog with the world record and
// the player's record, and the ghost files beside the module.
std::vector<ModuleFile> offlineFiles(const std::string& race, uint32_t turns, const std::string& discipline = "") {
    const std::string category = race == "BigRR" ? "bigrr" : "ttrr";
    LocalMapEntry map{race, category, discipline, entryOf(race, 1), entryOf(race, 7)};
    return {{"wkTarvek.ini", settingsText(true)},
            {"wkTarvek.maps.ini", localCatalogText(courseMapHash(), {map})},
            {ghostName(race, 1), ghostBytes(race, turns, 1)},
            {ghostName(race, 7), ghostBytes(race, turns, 7)}};
}

// The cached server catalog of the player (and of a tracked rank), with its ghosts in the cache.
std::vector<ModuleFile> cachedCatalogFiles(const std::string& race, int trackRank) {
    const std::string playerKey = derivePlayerKey(kSeasonKey, kPlayerAccountKey, "");
    std::vector<BoardEntry> entries = board(race);
    for (BoardEntry& entry : entries)
        if (!entry.ghostFile.empty()) entry.ghostFile = "wkTarvek.cache\\" + entry.ghostFile;
    const std::string name = catalogFileName(courseMapHash(), race == "BigRR", playerKey);
    std::vector<ModuleFile> files{{"wkTarvek.cache/" + name, cachedCatalogText(courseMapHash(), race, 0, entries)}};
    if (trackRank)
        files.push_back({"wkTarvek.cache/" + withTrackRankSuffix(name, trackRank),
                         cachedCatalogText(courseMapHash(), race, trackRank, entries)});
    for (const Racer& racer : publishedRacers())
        files.push_back({"wkTarvek.cache/" + ghostName(race, racer.rank), ghostBytes(race, 1, racer.rank)});
    return files;
}

// The server's data: every published ghost under its SHA-256 and both boards of the course.
std::vector<ModuleFile> serverFiles(uint32_t bigTurns) {
    std::vector<ModuleFile> files;
    for (const std::string race : {"TTRR", "BigRR"}) {
        std::vector<std::string> shas;
        for (const BoardEntry& entry : board(race)) {
            if (entry.ghostFile.empty()) {
                shas.emplace_back();
                continue;
            }
            std::string bytes = ghostBytes(race, bigTurns, entry.rank);
            std::string sha = sha256Hex(bytes);
            std::transform(sha.begin(), sha.end(), sha.begin(), [](char c) { return static_cast<char>(std::toupper(c)); });
            files.push_back({"ghosts/" + sha + ".tkghost", std::move(bytes)});
            shas.push_back(sha);
        }
        files.push_back({std::string("seasons/") + kSeasonKey + "/" + courseMapHash() + "." + race + ".map",
                         serverBoardText(board(race), shas)});
    }
    return files;
}

// The local player's worm: a few frames before its turn, waiting, then moving along the line.
std::vector<WormFrame> idle(uint32_t frames, int32_t x) {
    return std::vector<WormFrame>(frames, {fixedPixels(x), fixedPixels(courseY(x)), false, 0});
}

std::vector<WormFrame> turn(const RunTurn& run) {
    std::vector<WormFrame> frames;
    int32_t x = run.startX;
    for (uint32_t i = 0; i < run.still; ++i) frames.push_back({fixedPixels(x), fixedPixels(courseY(x)), true, 0});
    for (const auto& [speed, count] : run.legs)
        for (uint32_t i = 0; i < count; ++i) {
            x += speed;
            frames.push_back({fixedPixels(x), fixedPixels(courseY(x)), true, 0});
        }
    return frames;
}

void append(std::vector<WormFrame>& to, const std::vector<WormFrame>& frames) { to.insert(to.end(), frames.begin(), frames.end()); }

// The live run of a TTRR race: behind the world record at first (2 px a frame against its 3),
// then past it (4 px a frame) from about frame 115 on.
const RunTurn kLiveRun = pace({{2, 50}, {4, 105}});

std::vector<WormScript> singleRace(uint32_t before = 5, uint32_t after = 20) {
    std::vector<WormFrame> frames = idle(before, kCourseStartX);
    append(frames, turn(kLiveRun));
    append(frames, idle(after, turnEndX(kLiveRun)));
    return {{1, 1, frames}};
}

// A BigRR race: `players` worms take turns over `rounds` rounds, each player's run split into
// `rounds` turns; 20 frames between turns. The local player is the first.
std::vector<WormScript> bigRace(uint32_t players, uint32_t rounds) {
    std::vector<std::vector<RunTurn>> runs;
    for (uint32_t p = 0; p < players; ++p) runs.push_back(inTurns(p == 0 ? kLiveRun : publishedRacers()[p].run, rounds));
    std::vector<WormScript> worms;
    std::vector<int32_t> at(players, kCourseStartX);
    for (uint32_t p = 0; p < players; ++p) worms.push_back({p + 1, 1, idle(5, kCourseStartX)});
    for (uint32_t r = 0; r < rounds; ++r)
        for (uint32_t p = 0; p < players; ++p) {
            const std::vector<WormFrame> played = turn(runs[p][r]);
            const uint32_t length = static_cast<uint32_t>(played.size()) + 20;
            for (uint32_t q = 0; q < players; ++q) {
                if (q == p) {
                    append(worms[q].frames, played);
                    at[q] = turnEndX(runs[p][r]);
                    append(worms[q].frames, idle(20, at[q]));
                } else {
                    append(worms[q].frames, idle(length, at[q]));
                }
            }
        }
    return worms;
}

Scenario race(std::string name, std::vector<ModuleFile> files) {
    Scenario s;
    s.name = std::move(name);
    s.files = std::move(files);
    s.worms = singleRace();
    return s;
}

Scenario offlineTtrr() {
    Scenario s = race("offline-ttrr", offlineFiles("TTRR", 1));
    // Each ghost hidden, then back: gold by Ctrl+G, then blue by Ctrl+F.
    s.hotkeys = {{60, kGoldHotkeyId}, {100, kGoldHotkeyId}, {130, kBlueHotkeyId}, {160, kBlueHotkeyId}};
    s.keyFrames = {};
    return s;
}

Scenario offlineBigrr() {
    Scenario s = race("offline-bigrr", offlineFiles("BigRR", 2));
    s.schemeTurnTime = 30;
    s.worms = bigRace(1, 2);
    s.keyFrames = {};
    return s;
}

Scenario offlineChat() {
    Scenario s = race("offline-chat", offlineFiles("TTRR", 1));
    for (ModuleFile& file : cachedCatalogFiles("TTRR", 3)) s.files.push_back(std::move(file));
    s.chat = {{8, "!ranks"}, {12, "!track 3"}};
    // Without a server the rank's catalog never arrives: the retries run out 21 s later.
    s.worms = singleRace(5, 1000);
    s.keyFrames = {{490, "no server: the rank could not be downloaded"}};
    return s;
}

Scenario disabled() {
    Scenario s = race("disabled", offlineFiles("TTRR", 1));
    s.files.front() = {"wkTarvek.ini", settingsText(false)};
    s.keyFrames = {{60, "Enabled=0: the game alone, no ghosts"}};
    s.race = false;
    return s;
}

// Another build of the game: a jump where turn-timer colour A's call was. That hook and the two
// turn-timer hooks that depend on it stay out; the others go in.
Scenario changedSite() {
    Scenario s = race("changed-site", offlineFiles("TTRR", 1));
    s.imageChanges = {{host_layout::image::kTurnTimerColourACallSite, {0xE9}}};
    s.keyFrames = {{60, "changed timer code: ghosts, no timer"}};
    return s;
}

Scenario withServer(Scenario s) {
    s.server = CatalogServer::Up;
    s.serverFiles = serverFiles(3);
    return s;
}

}  // namespace

uint32_t Scenario::frameCount() const {
    size_t frames = 0;
    for (const WormScript& worm : worms) frames = std::max(frames, worm.frames.size());
    return static_cast<uint32_t>(frames);
}

std::vector<Scenario> offlineScenarios() { return {offlineTtrr(), offlineBigrr(), offlineChat(), disabled(), changedSite()}; }

std::vector<Scenario> allScenarios() {
    Scenario ttrr = withServer(race("ttrr", offlineFiles("TTRR", 1)));
    ttrr.keyFrames = {{40, "behind the gold ghost: timer red"},
                      {120, "passing through the gold ghost: it fades"},
                      {160, "ahead of both ghosts: timer green"}};

    Scenario bigrr = withServer(race("bigrr", offlineFiles("BigRR", 3)));
    bigrr.schemeTurnTime = 30;
    bigrr.worms = bigRace(3, 3);
    bigrr.keyFrames = {{103, "end of turn 1: the gap to both ghosts"}, {160, "the second player's turn"}};

    Scenario trick = race("trickrace", offlineFiles("TTRR", 1, "trickrace"));
    trick.keyFrames = {{171, "TrickRace: the gap at the end of the run"}};
    Scenario bungee = race("bungeerace", offlineFiles("BigRR", 2, "bungeerace"));
    bungee.schemeTurnTime = 30;
    bungee.worms = bigRace(1, 2);
    bungee.keyFrames = {{100, "BungeeRace, first turn"}};

    Scenario chat = withServer(race("chat", offlineFiles("TTRR", 1)));
    chat.worms = singleRace(60);
    chat.chat = {{10, "!ranks"}, {20, "!track 2"}, {40, "!track me"}, {50, "!track two"}};
    chat.keyFrames = {{12, "!ranks: the top ten in the chat"},
                      {30, "!track 2: SilverSwing is the blue ghost"},
                      {56, "!track me, !track two: PB blue again"}};

    Scenario hotkey = withServer(race("hotkey", offlineFiles("TTRR", 1)));
    hotkey.hotkeys = {{60, kGoldHotkeyId}, {100, kGoldHotkeyId}};
    hotkey.keyFrames = {{80, "Ctrl+G: the gold ghost hidden"}, {120, "Ctrl+G again: gold is back"}};

    // The server is down at first and the local catalog does not know the course: the request
    // fails and is retried (3 s, then 6 s of game time) while the worm waits without ghosts. The
    // server comes up at frame 200; the third request goes out at frame 469 and the worm first
    // moves at 470, while it is on its way: its catalog joins the attempt that has started.
    Scenario late = withServer(race("server-late", {{"wkTarvek.ini", settingsText(true)}}));
    late.server = CatalogServer::Late;
    late.serverUpFrame = 200;
    late.worms = singleRace(459);
    late.keyFrames = {{100, "server down, map unknown: no ghosts"}, {520, "late catalog joined: ghosts tinted and tagged at once"}};

    std::vector<Scenario> all{ttrr, bigrr, trick, bungee, chat, hotkey, late};
    for (Scenario& offline : offlineScenarios()) all.push_back(std::move(offline));
    return all;
}

}  // namespace tarvek::scenarios
