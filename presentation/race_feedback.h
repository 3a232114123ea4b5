#pragma once
// The race feedback texts and the end-of-turn gap shown when a started race ends.
#include <cstdint>
#include <string>

#include "host/host_memory.h"
#include "race/path_comparison.h"

namespace tarvek {

inline constexpr uint32_t kGameFramesPerSecond = 50;

struct FeedbackLine {
    std::string text;
    uint32_t status = race_status::kEven;  // the comparison's status codes
};

// Frames as signed seconds with hundredths: 75 at 50 per second is "+1.50s", −1 is "-0.02s",
// 0 is "0.00s"; "nan" for 0 frames per second.
std::string formatSeconds(int64_t frames, uint32_t framesPerSecond);

// "WR 1.50s AHEAD": the gap in frames (positive: the live worm is behind) without its sign.
// Empty (status even) when not enabled or without a label.
FeedbackLine formatFeedbackLine(const std::string& label, bool enabled, int64_t gapFrames);

// The race tracking's entry: the message goes to the display of the world (+0x4).
void showEndOfTurnGap(HostAddr world) noexcept;
// Composes the gap to both ghosts once per race and posts it for display (none: not posted).
void showEndOfTurnGap(HostAddr world, HostAddr display) noexcept;
// A new race (arming, comparison start): the gap may be shown again; the kept live time goes.
void clearEndOfTurnGap();
// The race reset: as clearEndOfTurnGap, and a pending message is dropped.
void dropEndOfTurnGap();

}  // namespace tarvek
