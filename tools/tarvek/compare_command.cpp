// tarvek compare: where did a run gain or lose time against a reference ghost.
#include <filesystem>
#include <iostream>
#include <string>

#include "commands.h"
#include "ghostdata/ghost_loader.h"
#include "race/path_comparison.h"
#include "tools/support/live_replay.h"
#include "tools/support/race_plot.h"

namespace tarvek::cli {

namespace {

struct CompareOptions {
    bool csv = false;
    std::string ghostPath;
    std::string livePath;
    std::string race = "TTRR";
    uint32_t turnTime = 0;
    std::string plotPath;
};

constexpr double kFramesPerSecond = 50.0;

// The matched frames as (clock, delta) in seconds, and where each of the run's turns starts.
tools::RacePlot racePlot(const std::vector<tools::ReplayFrame>& rows, const GhostRecording& live,
                         const std::string& title) {
    tools::RacePlot plot;
    plot.title = title;
    plot.evenBand = ComparisonParams{}.evenThresholdFrames / kFramesPerSecond;
    for (const auto& row : rows) {
        if (row.matched) plot.points.emplace_back(row.liveClock / kFramesPerSecond, row.delta / kFramesPerSecond);
        for (size_t s = 1; s < live.segments.size(); ++s)
            if (row.frame == live.segments[s].firstFrame) plot.turnStarts.push_back(row.liveClock / kFramesPerSecond);
    }
    return plot;
}

bool loadForCompare(const std::string& path, GhostRecording& recording) {
    if (loadGhostRecording(path, recording, "compared")) return true;
    std::cerr << "tarvek compare: " << path << " is not a valid ghost recording\n";
    return false;
}

int runCompare(const CompareOptions& options) {
    const auto race = tools::parseReplayRace(options.race);
    if (!race) {
        std::cerr << "tarvek compare: --race must be TTRR, BigRR, TrickRace or BungeeRace\n";
        return kExitUsage;
    }
    GhostRecording reference;
    GhostRecording live;
    if (!loadForCompare(options.ghostPath, reference) || !loadForCompare(options.livePath, live)) {
        return kExitRejected;
    }
    tools::ReplayOptions replay;
    replay.race = *race;
    replay.turnTime = options.turnTime != 0 ? options.turnTime : tools::fittingTurnTime(live, reference);
    const auto rows = tools::replayAgainstGhost(live, reference, replay);
    std::cout << (options.csv ? tools::formatReplayCsv(rows) : tools::formatReplaySummary(tools::summarizeReplay(rows)));
    if (options.plotPath.empty()) return kExitOk;
    std::string error;
    if (!tools::writeRacePlot(options.plotPath, racePlot(rows, live, "delta to " + std::filesystem::path(options.ghostPath).filename().string()), error)) {
        std::cerr << "tarvek compare: " << error << "\n";
        return kExitRejected;
    }
    std::cout << "plot: " << options.plotPath << "\n";
    return kExitOk;
}

}  // namespace

void addCompareCommands(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<CompareOptions>();
    CLI::App* compare = app.add_subcommand(
        "compare", "Play a recorded run against a reference ghost and show where time was won or lost");
    compare->add_flag("--csv", options->csv, "One line per live race frame instead of the summary");
    compare->add_option("--ghost", options->ghostPath, "Reference ghost (.tkghost), raced in the gold slot")
        ->required();
    compare->add_option("--live", options->livePath, "The run to analyse (.tkghost), played as the live worm")
        ->required();
    compare->add_option("--race", options->race, "TTRR (default), BigRR, TrickRace or BungeeRace")
        ->check(CLI::IsMember({"TTRR", "BigRR", "TrickRace", "BungeeRace"}));
    compare->add_option("--turn-time", options->turnTime,
                        "BigRR turn time in seconds (default: the smallest that holds the longest segment)")
        ->check(CLI::Range(1, 127));
    compare->add_option("--plot", options->plotPath,
                        "Also draw the delta over the race clock as a PNG (AHEAD below zero, BEHIND above)");
    compare->callback([options, &context] { context.exitStatus = runCompare(*options); });
}

}  // namespace tarvek::cli
