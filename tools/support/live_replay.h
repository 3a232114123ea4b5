#pragma once
// Plays a recorded run as the live worm through the race engine on the simulated host, against
// a reference ghost in the gold slot, and reports the gold comparison of every live race frame.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ghostdata/ghost_recording.h"

namespace tarvek::tools {

enum class ReplayRace { TTRR, BigRR, TrickRace, BungeeRace };

std::optional<ReplayRace> parseReplayRace(std::string_view text);

struct ReplayOptions {
    ReplayRace race = ReplayRace::TTRR;
    uint32_t turnTime = 0;  // seconds, for BigRR and BungeeRace (1..127)
};

struct ReplayFrame {
    uint32_t frame = 0;  // index of the run's frame that was played
    uint64_t liveClock = 0;
    bool matched = false;
    int32_t matchedIndex = 0;
    uint64_t ghostClock = 0;
    int64_t delta = 0;  // live − ghost: positive means behind
    uint32_t status = 0;
};

// The smallest scheme turn time (at most 127 s) that holds the longest segment of both.
uint32_t fittingTurnTime(const GhostRecording& live, const GhostRecording& reference);

// TTRR and TrickRace play the whole run as one turn; BigRR and BungeeRace play each of its
// segments as one turn of the same worm. Resets the module's race state before and after.
std::vector<ReplayFrame> replayAgainstGhost(const GhostRecording& live, const GhostRecording& reference,
                                            const ReplayOptions& options);

struct ReplaySummary {
    bool anyMatch = false;
    int64_t finalDelta = 0;
    uint32_t finalStatus = 0;
    uint64_t framesAhead = 0;
    uint64_t framesBehind = 0;
    uint64_t framesEven = 0;
    int64_t largestGain = 0;  // frames won between two consecutive matches
    uint32_t largestGainFrame = 0;
    int64_t largestLoss = 0;
    uint32_t largestLossFrame = 0;
};

ReplaySummary summarizeReplay(const std::vector<ReplayFrame>& frames);

std::string_view statusName(uint32_t status);
// "frame,liveClock,matched,matchedIndex,ghostClock,delta,status" and one line per frame;
// an unmatched frame leaves matchedIndex, ghostClock and delta empty.
std::string formatReplayCsv(const std::vector<ReplayFrame>& frames);
std::string formatReplaySummary(const ReplaySummary& summary);

}  // namespace tarvek::tools
