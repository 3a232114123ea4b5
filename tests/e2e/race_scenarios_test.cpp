// The whole module in the simulated game: each scenario is played once and its transcript is
// checked on what the player and the catalogs see, and its key frames on their pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <sstream>

#include "presentation/gap_message.h"
#include "race/race_state.h"
#include "support/temp_dir.h"
#include "tools/tarvek-sim/race_game.h"
#include "tools/tarvek-sim/race_run.h"
#include "tools/tarvek-sim/sim_run.h"

namespace tarvek::simtool {
namespace {

using Lines = std::vector<std::string>;

// What a key frame shows on its 8-bit surface: each ghost's tint where that ghost stands, gold
// above the gold ghost's head (the crown), and the gap message's dark box at the top.
struct FrameLook {
    bool gold = false;
    bool blue = false;
    bool crown = false;
    bool gapBox = false;
    bool operator==(const FrameLook&) const = default;
};

std::ostream& operator<<(std::ostream& out, const FrameLook& l) {
    return out << "gold " << l.gold << " blue " << l.blue << " crown " << l.crown << " gap box " << l.gapBox;
}

// The course's sky and the live worm's pinks and reds are neither ghost nor crown.
bool drawn(const uint8_t* rgb) {
    const bool sky = rgb[0] == 102 && rgb[1] == 153 && rgb[2] == 204;
    const bool pink = rgb[0] > rgb[1] + 40 && rgb[0] > rgb[2] + 20;
    return !sky && !pink;
}
bool dark(const uint8_t* rgb) { return rgb[0] + rgb[1] + rgb[2] < 60; }

FrameLook look(RaceGame& game) {
    const std::vector<uint8_t> pixels = game.display.pixels();
    const sim::Palette palette = game.display.palette();
    const int32_t width = static_cast<int32_t>(game.display.width()), height = static_cast<int32_t>(game.display.height());
    // Pixels of the kind within a box around (x, y), the box given by its offsets from there.
    auto count = [&](bool (*kind)(const uint8_t*), int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
        int found = 0;
        for (int32_t py = std::max(0, y + top); py < std::min(height, y + bottom); ++py)
            for (int32_t px = std::max(0, x + left); px < std::min(width, x + right); ++px)
                found += kind(&palette[pixels[size_t(py) * width + px] * 4]);
        return found;
    };
    FrameLook seen;
    if (const GhostFrame* gold = raceState().slots[kGoldSlot].currentFrame) {
        const int32_t x = gold->positionX() >> 16, y = gold->positionY() >> 16;
        seen.gold = count(drawn, x, y, -10, -10, 10, 10) >= 20;
        seen.crown = count(drawn, x, y, -10, -30, 10, -12) >= 6;
    }
    if (const GhostFrame* blue = raceState().slots[kBlueSlot].currentFrame)
        seen.blue = count(drawn, blue->positionX() >> 16, blue->positionY() >> 16, -10, -10, 10, 10) >= 20;
    seen.gapBox = count(dark, width / 2, 0, -40, 1, 40, 12) >= 200;
    return seen;
}

class RaceScenarios : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testing::TempDir;
        const auto all = scenarios::allScenarios();
        const ServerSetup server = prepareCatalogServer(TARVEK_CATALOG_SERVER_BINARY, dir_->path(), all);
        scenarios::Transcript transcript;
        for (const auto& scenario : all) {
            const RunResult result = runScenario(scenario, dir_->path() / scenario.name, server, transcript,
                                                 [](const auto& s, const auto& key, RaceGame& game) {
                                                     looks_[s.name + " " + std::to_string(key.frame)] = look(game);
                                                 });
            ran_[scenario.name] = result.ran;
        }
        // "SCENARIO FRAME KIND TEXT" kept as scenario -> kind -> texts.
        for (const std::string& line : transcript.lines()) {
            std::istringstream in(line);
            std::string scenario, frame, kind, text;
            in >> scenario >> frame >> kind;
            std::getline(in >> std::ws, text);
            events_[scenario][kind].push_back(text);
        }
    }
    static void TearDownTestSuite() { delete dir_; }

    static Lines events(const std::string& scenario, const std::string& kind) { return events_[scenario][kind]; }

    static inline testing::TempDir* dir_ = nullptr;
    static inline std::map<std::string, bool> ran_;
    static inline std::map<std::string, FrameLook> looks_;  // by "scenario frame"
    static inline std::map<std::string, std::map<std::string, Lines>> events_;
};

// Each expected text is found in a line at or after the previous one's (a line may hold several);
// the first one missing fails.
::testing::AssertionResult inOrder(const Lines& lines, const Lines& expected) {
    size_t at = 0;
    for (const std::string& text : expected) {
        while (at < lines.size() && lines[at].find(text) == std::string::npos) ++at;
        if (at == lines.size()) return ::testing::AssertionFailure() << "missing, or out of order: " << text;
    }
    return ::testing::AssertionSuccess();
}

TEST_F(RaceScenarios, EveryScenarioRuns) {
    for (const auto& [name, ran] : ran_) EXPECT_TRUE(ran) << name;
    EXPECT_EQ(ran_.size(), 12u);
}

TEST_F(RaceScenarios, TranscriptsShowWhatThePlayerAndTheCatalogsSee) {
    const Lines race{"gold EVEN, blue EVEN", "gold BEHIND, blue EVEN", "gold BEHIND, blue AHEAD", "gold EVEN, blue AHEAD",
                     "gold AHEAD, blue AHEAD"};
    const struct {
        const char* scenario;
        const char* kind;
        Lines expected;
        bool exact;  // the whole sequence of that kind, not a part of it
    } rows[] = {
        {"offline-ttrr", "log", {"source local fallback", "WR GoldRunner, PR simplayer", "retry 1/3 before first movement"}},
        {"offline-ttrr", "status", race, true},
        {"changed-site", "status", race, true},
        {"ttrr", "log", {"source local fallback", "server catalog ready (generation 1", "source server cache"}},
        {"ttrr", "status", race, true},
        {"chat", "chat", {"01 | GoldRunner | 31.11s", "10 | Racer10 | 40.20s", "Tarvek: loading rank 02 into the blue ghost slot...",
                          "Tarvek: rank 02 - SilverSwing is now the blue ghost.", "Tarvek: restoring your personal-best ghost...",
                          "Tarvek: usage: !track 2 or !track me", "Tarvek: your personal-best ghost is blue again."}},
        {"chat", "log", {"loaded 230 tracked-rank ghost frames", "loaded 280 personal-record ghost frames"}},
        {"offline-chat", "chat", {"07 | simplayer | 37.17s", "Tarvek: loading rank 03 into the blue ghost slot...",
                                  "Tarvek: rank 03 could not be downloaded; try !track 3 again."}},
        {"offline-chat", "log", {"source server cache", "retry 1/3", "retry 2/3", "retry 3/3"}},
        {"server-late", "log", {"unknown map", "retry 1/3", "retry 2/3", "server catalog ready",
                                 "late catalog activation joined the current TTRR attempt at logical segment 0",
                                 "built 6 native-quality gold opacity levels", "prepared native-font WR name tag"}},
        {"hotkey", "log", {"hotkey Ctrl+G: hidden", "hotkey Ctrl+G: shown"}},
        {"hotkey", "marked", {"gold 1 sprite(s) 0x84100000 0 line(s), blue 1 sprite(s) 0x44200000",
                              "gold 0 sprite(s) 0x00000000 0 line(s), blue 1 sprite(s)", "gold 1 sprite(s) 0x84100000"}},
        {"bigrr", "gap", {"WR 0.04s BEHIND  |  BLUE 0.06s BEHIND", "WR 0.00s EVEN  |  BLUE 0.60s AHEAD"}},
        {"trickrace", "gap", {"WR 0.50s AHEAD  |  BLUE 2.30s AHEAD"}, true},
        {"offline-ttrr", "gap", {}, true},  // TTRR shows no end-of-turn gap
        {"disabled", "hook", {"+0x17ad69 patched", "+0x12c1ae skipped", "+0x2644d0 skipped"}},
        {"disabled", "status", {}, true},
        {"changed-site", "hook", {"+0x12c1ae patched", "+0x15e10f skipped", "+0x2644d0 patched"}},
    };
    for (const auto& row : rows) {
        const Lines lines = events(row.scenario, row.kind);
        if (row.exact) EXPECT_EQ(lines, row.expected) << row.scenario << " " << row.kind;
        else EXPECT_TRUE(inOrder(lines, row.expected)) << row.scenario << " " << row.kind;
    }
}

TEST_F(RaceScenarios, KeyFramesShowTheGhostsTheCrownAndTheGapBox) {
    const bool FrameLook::*const gold = &FrameLook::gold;
    const bool FrameLook::*const blue = &FrameLook::blue;
    const bool FrameLook::*const crown = &FrameLook::crown;
    const bool FrameLook::*const gapBox = &FrameLook::gapBox;
    const struct {
        const char* frame;
        const bool FrameLook::*part;
        bool shown;
    } rows[] = {
        {"ttrr 160", gold, true},     {"ttrr 160", blue, true},        {"ttrr 160", crown, true},
        {"ttrr 160", gapBox, false},  {"changed-site 60", gold, true}, {"changed-site 60", crown, true},
        {"hotkey 80", gold, false},   {"hotkey 80", crown, false},     {"bigrr 103", gapBox, true},
        {"trickrace 171", gapBox, true}, {"disabled 60", gold, false}, {"disabled 60", blue, false},
        {"server-late 100", gold, false}, {"server-late 520", gold, true}, {"server-late 520", crown, true},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(looks_.count(row.frame)) << row.frame;
        EXPECT_EQ(looks_[row.frame].*row.part, row.shown) << row.frame << ": " << looks_[row.frame];
    }
}

}  // namespace
}  // namespace tarvek::simtool
