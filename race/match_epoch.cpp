#include "race/match_epoch.h"

namespace tarvek {

namespace {

void adoptAll(MatchEpochTracker& tracker, HostAddr world, HostAddr landscape, uint32_t mapWidth, uint32_t mapHeight,
              int32_t frame) {
    tracker = MatchEpochTracker{true, world, landscape, mapWidth, mapHeight, frame};
}

}  // namespace

uint32_t detectMatchEpochChange(MatchEpochTracker& tracker, HostAddr world, HostAddr landscape, uint32_t mapWidth,
                                uint32_t mapHeight, int32_t frame) {
    if (!tracker.valid || tracker.world != world) {
        const uint32_t reasons = tracker.valid ? epoch_reason::kWorld : epoch_reason::kFirstObservation;
        adoptAll(tracker, world, landscape, mapWidth, mapHeight, frame);
        return reasons;
    }

    uint32_t reasons = 0;
    if (landscape != 0 && tracker.landscape != 0 && landscape != tracker.landscape) {
        reasons |= epoch_reason::kLandscape;
    }
    const bool bothPairsSet = mapWidth != 0 && mapHeight != 0 && tracker.mapWidth != 0 && tracker.mapHeight != 0;
    if (bothPairsSet && (mapWidth != tracker.mapWidth || mapHeight != tracker.mapHeight)) {
        reasons |= epoch_reason::kMapDimensions;
    }
    if (tracker.lastFrame >= 0 && frame < tracker.lastFrame) reasons |= epoch_reason::kFrameRestart;
    if (reasons != 0) {
        adoptAll(tracker, world, landscape, mapWidth, mapHeight, frame);
        return reasons;
    }

    // Same epoch: values that were still unknown are adopted silently.
    if (tracker.landscape == 0 && landscape != 0) tracker.landscape = landscape;
    const bool newPairSet = mapWidth != 0 && mapHeight != 0;
    if (newPairSet && (tracker.mapWidth == 0 || tracker.mapHeight == 0)) {
        tracker.mapWidth = mapWidth;
        tracker.mapHeight = mapHeight;
    }
    tracker.lastFrame = frame;
    return 0;
}

std::string describeEpochReasons(uint32_t reasons) {
    static constexpr struct {
        uint32_t bit;
        const char* text;
    } kReasons[] = {{epoch_reason::kWorld, "world allocation"},
                    {epoch_reason::kLandscape, "landscape allocation"},
                    {epoch_reason::kMapDimensions, "map dimensions"},
                    {epoch_reason::kFrameRestart, "frame restart"}};
    std::string text;
    for (const auto& reason : kReasons) {
        if (!(reasons & reason.bit)) continue;
        if (!text.empty()) text += ", ";
        text += reason.text;
    }
    return text;
}

}  // namespace tarvek
