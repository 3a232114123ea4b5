// The whole module in the simulated game: each scenario is played once and its transcript is
// checked on what the player and the catalogs see, and its key frames on their pixels.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "support/temp_dir.h"
#include "tools/tarvek-sim/race_run.h"
#include "tools/tarvek-sim/sim_run.h"

namespace tarvek::simtool {
namespace {

using Lines = std::vector<std::string>;

class RaceScenarios : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testing::TempDir;
        const auto all = scenarios::allScenarios();
        const ServerSetup server = prepareCatalogServer(TARVEK_CATALOG_SERVER_BINARY, dir_->path(), all);
        scenarios::Transcript transcript;
        for (const auto& scenario : all) {
            const RunResult result = runScenario(scenario, dir_->path() / scenario.name, server, transcript,
                                                 [](const auto&, const auto&, RaceGame&) {});
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
                                 "late catalog activation joined the current TTRR attempt at logical segment 0"}},
        {"hotkey", "log", {"hotkey Ctrl+G: hidden", "hotkey Ctrl+G: shown"}},
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

}  // namespace
}  // namespace tarvek::simtool
