#include "presentation/end_of_turn_gap.h"

#include <algorithm>
#include <string>

#include "host/host_context.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "host/text.h"
#include "presentation/gap_message.h"
#include "presentation/race_feedback.h"
#include "race/live_comparison.h"
#include "race/path_comparison.h"
#include "race/race_state.h"
#include "race/race_type.h"

namespace tarvek {
namespace {

constexpr uint64_t saturatingProduct(uint64_t a, uint64_t b) {
    return b != 0 && a > UINT64_MAX / b ? UINT64_MAX : a * b;
}

// Once per race; the live time is taken at the first gap computation after the start.
struct EndOfTurnGapState {
    bool shown = false;
    std::optional<uint64_t> liveFrames;
};

EndOfTurnGapState& gapState() {
    static EndOfTurnGapState state;
    return state;
}

std::optional<int64_t> segmentModeSlotGap(size_t slot) {
    const SlotComparison& comparison = slotComparison(slot);
    if (!comparison.bound.segmentBounded || !comparison.matchedThisTurn) return std::nullopt;
    const uint32_t segment = raceState().slots[slot].segmentIndex;
    const std::optional<uint64_t> moving = segmentMovingFrames(slotRecording(slot), segment);
    if (!moving) return std::nullopt;
    return segmentTurnGap(comparison.state.ghostClock, comparison.state.delta, segment, turnLengthFrames(), *moving);
}

std::optional<int64_t> racedSlotGap(size_t slot, uint64_t liveFrames) {
    const RaceType& type = raceType();
    const std::optional<uint64_t> ghostFrames =
        ghostRaceFrames(slotRecording(slot), raceState().slots[slot].segmentIndex, type.isTrickRace);
    if (!ghostFrames) return std::nullopt;
    // A BungeeRace turn counts no further than the turn itself.
    const bool turnCapped = type.isBigRR && !type.isTrickRace;
    return racedTimeGap(liveFrames, *ghostFrames, turnCapped ? std::optional<uint64_t>(turnLengthFrames()) : std::nullopt);
}

FeedbackLine slotLine(const char* label, const std::optional<int64_t>& gap) {
    return formatFeedbackLine(label, gap.has_value(), gap.value_or(0));
}

void postEndOfTurnGap(HostAddr world, HostAddr display) {
    EndOfTurnGapState& state = gapState();
    if (state.shown) return;
    raceState().turnTimerColour = 0;
    const RaceType& type = raceType();
    if (!settings().endOfTurnGapEnabled || !(type.isBigRR || type.isTrickRace)) return;

    std::optional<int64_t> gaps[kGhostSlotCount];
    if (isBigRRSegmentMode()) {
        for (size_t slot = 0; slot < kGhostSlotCount; ++slot) gaps[slot] = segmentModeSlotGap(slot);
    } else {
        if (!state.liveFrames) state.liveFrames = raceState().raceFrames;
        for (size_t slot = 0; slot < kGhostSlotCount; ++slot) gaps[slot] = racedSlotGap(slot, *state.liveFrames);
    }
    const FeedbackLine gold = slotLine("WR", gaps[kGoldSlot]);
    const FeedbackLine blue = slotLine("BLUE", gaps[kBlueSlot]);
    std::string text = gold.text;
    if (!gold.text.empty() && !blue.text.empty()) text += "  |  ";
    text += blue.text;
    const uint32_t status = gold.text.empty() ? blue.status : gold.status;

    GapMessageBoard& board = gapMessageBoard();
    if (text.empty() || display == 0 || !board.overlayInstalled()) return;
    board.post(text, status, world, display, millisecondTick());
    state.shown = true;
}

}  // namespace

std::optional<uint64_t> segmentMovingFrames(const GhostRecording& ghost, uint32_t segmentIndex) {
    if (segmentIndex >= ghost.segments.size() || segmentIndex >= ghost.movementStart.size()) return std::nullopt;
    const uint32_t frameCount = ghost.segments[segmentIndex].frameCount;
    const uint32_t start = ghost.movementStart[segmentIndex];
    return frameCount > start ? frameCount - start : 0;
}

int64_t segmentTurnGap(uint64_t ghostClock, int64_t delta, uint32_t segmentIndex, uint64_t turnFrames,
                       uint64_t movingFrames) {
    const uint64_t segmentEnd =
        saturatingAdd64(saturatingProduct(segmentIndex, turnFrames), std::min(turnFrames, movingFrames));
    // segmentEnd is T + 1; with T = −1 every clock has reached it.
    if (segmentEnd == 0 || ghostClock >= segmentEnd - 1) return delta;
    return static_cast<int64_t>(std::min<uint64_t>(segmentEnd - 1 - ghostClock, INT64_MAX));
}

std::optional<uint64_t> ghostRaceFrames(const GhostRecording& ghost, uint32_t segmentIndex, bool trickRace) {
    if (!trickRace) {
        const std::optional<uint64_t> moving = segmentMovingFrames(ghost, segmentIndex);
        return moving && *moving > 0 ? moving : std::nullopt;
    }
    uint64_t total = 0;
    for (uint32_t segment = 0; segment < ghost.segments.size(); ++segment) {
        total = saturatingAdd64(total, segmentMovingFrames(ghost, segment).value_or(0));
    }
    return total > 0 ? std::optional<uint64_t>(total) : std::nullopt;
}

int64_t racedTimeGap(uint64_t liveFrames, uint64_t ghostFrames, std::optional<uint64_t> cap) {
    if (cap) {
        liveFrames = std::min(liveFrames, *cap);
        ghostFrames = std::min(ghostFrames, *cap);
    }
    return clockDifference(liveFrames, ghostFrames);
}

void showEndOfTurnGap(HostAddr world) noexcept {
    showEndOfTurnGap(world, hostMemory().readU32(world + host_layout::world::kDisplay).value_or(0));
}

void showEndOfTurnGap(HostAddr world, HostAddr display) noexcept {
    try {
        postEndOfTurnGap(world, display);
    } catch (...) {
        // No memory for the text: this race end shows no gap, and a later one still may.
    }
}

void clearEndOfTurnGap() { gapState() = EndOfTurnGapState{}; }

void dropEndOfTurnGap() {
    gapMessageBoard().drop();
    clearEndOfTurnGap();
}

}  // namespace tarvek
