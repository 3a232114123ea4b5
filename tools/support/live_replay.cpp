#include "tools/support/live_replay.h"

#include <algorithm>
#include <cstdio>

#include "host/host_layout.h"
#include "race/live_comparison.h"
#include "race/race_state.h"
#include "race/race_type.h"
#include "sim/sim_module.h"
#include "sim/sim_worm.h"

namespace tarvek::tools {

using namespace sim;

namespace {

constexpr uint32_t kFramesPerSecond = 50;
constexpr uint32_t kLongestSchemeTurn = 127;

bool playsTurns(ReplayRace race) { return race == ReplayRace::BigRR || race == ReplayRace::BungeeRace; }

// One game frame for the live worm, returning the gold comparison when it was a race frame.
std::optional<ReplayFrame> playFrame(SimGame& game, uint32_t frameIndex) {
    const uint32_t framesBefore = raceState().raceFrames;
    const bool wasStarted = raceState().raceStarted;
    game.runFrame();
    const RaceState& race = raceState();
    if (!race.raceStarted || (wasStarted && race.raceFrames == framesBefore)) return std::nullopt;
    const ComparisonState& gold = slotComparison(kGoldSlot).state;
    ReplayFrame row;
    row.frame = frameIndex;
    row.liveClock = liveRaceClock() - 1;  // the clock of the frame just counted
    row.matched = gold.matchedLastCall;
    row.matchedIndex = gold.matchedIndex;
    row.ghostClock = gold.ghostClock;
    row.delta = gold.delta;
    row.status = gold.status;
    return row;
}

WormFrame wormFrameOf(const GhostFrame& frame, bool active) {
    return WormFrame{frame.positionX(), frame.positionY(), active, 0};
}

}  // namespace

std::optional<ReplayRace> parseReplayRace(std::string_view text) {
    if (text == "TTRR") return ReplayRace::TTRR;
    if (text == "BigRR") return ReplayRace::BigRR;
    if (text == "TrickRace") return ReplayRace::TrickRace;
    if (text == "BungeeRace") return ReplayRace::BungeeRace;
    return std::nullopt;
}

uint32_t fittingTurnTime(const GhostRecording& live, const GhostRecording& reference) {
    uint32_t longest = 1;
    for (const GhostRecording* recording : {&live, &reference}) {
        for (const TurnSegment& segment : recording->segments) longest = std::max(longest, segment.frameCount);
    }
    return std::min(kLongestSchemeTurn, (longest + kFramesPerSecond - 1) / kFramesPerSecond);
}

std::vector<ReplayFrame> replayAgainstGhost(const GhostRecording& live, const GhostRecording& reference,
                                            const ReplayOptions& options) {
    SimHost host;
    SimWorld world(host.space());
    SimGame game(host, world);
    resetModuleRaceState();
    installFrameDriver(host);
    host.setSchemeTurnTime(playsTurns(options.race) ? static_cast<int8_t>(options.turnTime) : 0);
    goldGhost() = reference;
    SimWorm& worm = game.addWorm(1, 1);

    std::vector<ReplayFrame> rows;
    if (!live.frames.empty()) {
        // One idle frame lets the race type be read before the first turn begins.
        worm.apply(wormFrameOf(live.frames.front(), false));
        game.runFrame();
        raceType().isTrickRace = options.race == ReplayRace::TrickRace;
        raceType().isBungeeRace = options.race == ReplayRace::BungeeRace;
    }
    auto playRange = [&](uint32_t first, uint32_t count) {
        for (uint32_t k = 0; k < count; ++k) {
            worm.apply(wormFrameOf(live.frames[first + k], true));
            if (auto row = playFrame(game, first + k)) rows.push_back(*row);
        }
        worm.setActive(false);
        game.runFrame();  // the turn ends
    };
    if (playsTurns(options.race)) {
        for (const TurnSegment& segment : live.segments) playRange(segment.firstFrame, segment.frameCount);
    } else if (!live.frames.empty()) {
        playRange(0, static_cast<uint32_t>(live.frames.size()));
    }
    resetModuleRaceState();
    return rows;
}

ReplaySummary summarizeReplay(const std::vector<ReplayFrame>& frames) {
    ReplaySummary summary;
    const ReplayFrame* previousMatch = nullptr;
    for (const ReplayFrame& row : frames) {
        if (row.status == 1) ++summary.framesAhead;
        else if (row.status == 2) ++summary.framesBehind;
        else ++summary.framesEven;
        if (!row.matched) continue;
        if (previousMatch) {
            const int64_t change = row.delta - previousMatch->delta;
            if (-change > summary.largestGain) {
                summary.largestGain = -change;
                summary.largestGainFrame = row.frame;
            }
            if (change > summary.largestLoss) {
                summary.largestLoss = change;
                summary.largestLossFrame = row.frame;
            }
        }
        summary.anyMatch = true;
        summary.finalDelta = row.delta;
        summary.finalStatus = row.status;
        previousMatch = &row;
    }
    return summary;
}

std::string_view statusName(uint32_t status) {
    switch (status) {
        case 1: return "AHEAD";
        case 2: return "BEHIND";
        default: return "EVEN";
    }
}

std::string formatReplayCsv(const std::vector<ReplayFrame>& frames) {
    std::string out = "frame,liveClock,matched,matchedIndex,ghostClock,delta,status\n";
    for (const ReplayFrame& row : frames) {
        out += std::to_string(row.frame) + "," + std::to_string(row.liveClock) + "," + (row.matched ? "1" : "0") + ",";
        if (row.matched) {
            out += std::to_string(row.matchedIndex) + "," + std::to_string(row.ghostClock) + "," +
                   std::to_string(row.delta);
        } else {
            out += ",,";
        }
        out += ",";
        out += statusName(row.status);
        out += "\n";
    }
    return out;
}

namespace {

std::string framesAndSeconds(int64_t frames, bool signedText) {
    char text[64];
    const double seconds = static_cast<double>(frames) / kFramesPerSecond;
    if (signedText) {
        std::snprintf(text, sizeof text, "%+lld frames (%+.2fs)", static_cast<long long>(frames), seconds);
    } else {
        std::snprintf(text, sizeof text, "%lld frames (%.2fs)", static_cast<long long>(frames), seconds);
    }
    return text;
}

}  // namespace

std::string formatReplaySummary(const ReplaySummary& summary) {
    std::string out;
    if (summary.anyMatch) {
        out += "final delta: " + framesAndSeconds(summary.finalDelta, true) + " " +
               std::string(statusName(summary.finalStatus)) + "\n";
    } else {
        out += "final delta: no match against the ghost path\n";
    }
    out += "frames: AHEAD " + std::to_string(summary.framesAhead) + ", BEHIND " +
           std::to_string(summary.framesBehind) + ", EVEN " + std::to_string(summary.framesEven) + "\n";
    out += "largest gain: " + framesAndSeconds(summary.largestGain, false);
    if (summary.largestGain > 0) out += " at frame " + std::to_string(summary.largestGainFrame);
    out += "\nlargest loss: " + framesAndSeconds(summary.largestLoss, false);
    if (summary.largestLoss > 0) out += " at frame " + std::to_string(summary.largestLossFrame);
    out += "\n";
    return out;
}

}  // namespace tarvek::tools
