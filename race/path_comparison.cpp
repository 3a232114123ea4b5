#include "race/path_comparison.h"

#include <algorithm>
#include <cmath>

namespace tarvek {

namespace {

struct Candidate {
    bool found = false;
    double distanceSquared = 0;
    double clock = 0;
    double position = 0;
};

double squaredDistance(double x, double y, LivePosition live) {
    const double dx = x - live.x;
    const double dy = y - live.y;
    return dx * dx + dy * dy;
}

// Nearer wins; then the clock closer to the live clock; then the lower path position.
void offer(Candidate& best, double distanceSquared, double clock, double position, uint64_t liveClock) {
    const Candidate candidate{true, distanceSquared, clock, position};
    if (!best.found) {
        best = candidate;
        return;
    }
    if (distanceSquared != best.distanceSquared) {
        if (distanceSquared < best.distanceSquared) best = candidate;
        return;
    }
    const double live = static_cast<double>(liveClock);
    const double clockGap = std::fabs(clock - live);
    const double bestClockGap = std::fabs(best.clock - live);
    if (clockGap != bestClockGap) {
        if (clockGap < bestClockGap) best = candidate;
        return;
    }
    if (position < best.position) best = candidate;
}

void offerSample(Candidate& best, const std::vector<PathSample>& path, size_t index, LivePosition live,
                 uint64_t liveClock) {
    offer(best, squaredDistance(path[index].x, path[index].y, live),
          static_cast<double>(effectiveClock(path, index)), static_cast<double>(index), liveClock);
}

void offerPiece(Candidate& best, const std::vector<PathSample>& path, size_t i, double tLow, double tHigh,
                LivePosition live, uint64_t liveClock) {
    if (path[i + 1].breakBefore) {
        if (tLow == 0) offerSample(best, path, i, live, liveClock);
        if (tHigh == 1) offerSample(best, path, i + 1, live, liveClock);
        return;
    }
    const double ax = path[i].x, ay = path[i].y;
    const double dx = double(path[i + 1].x) - ax, dy = double(path[i + 1].y) - ay;
    const double lengthSquared = dx * dx + dy * dy;
    double t = tLow;
    if (lengthSquared != 0) {
        t = ((double(live.x) - ax) * dx + (double(live.y) - ay) * dy) / lengthSquared;
        t = std::clamp(t, tLow, tHigh);
    }
    const double clockA = static_cast<double>(effectiveClock(path, i));
    const double clockB = static_cast<double>(effectiveClock(path, i + 1));
    offer(best, squaredDistance(ax + t * dx, ay + t * dy, live), clockA + t * (clockB - clockA),
          static_cast<double>(i) + t, liveClock);
}

struct Window {
    double lower = 0;
    double upper = 0;
};

Window searchWindow(const ComparisonState& state, bool matchedBefore, double last, uint64_t liveClock,
                    const ComparisonParams& params) {
    if (!state.hasMatch) {
        const double centre = std::min<double>(state.startIndex, last);
        return {std::max(0.0, centre - params.firstBackWindow), std::min(last, centre + params.firstForwardWindow)};
    }
    const double settled = std::min(state.position, last);
    const uint64_t elapsed = liveClock > state.lastLiveClock ? liveClock - state.lastLiveClock : 0;
    const double predicted = std::max(settled, std::min(state.position + double(elapsed), last));
    if (matchedBefore && elapsed <= params.continuityWindow) {
        return {settled, std::min(last, predicted + params.continuityWindow)};
    }
    return {std::max(settled, predicted - params.backWindow), std::min(last, predicted + params.forwardWindow)};
}

uint64_t roundClock(double clock) {
    const double rounded = std::floor(clock + 0.5);
    if (!(rounded > 0)) return 0;
    if (rounded >= 18446744073709551615.0) return UINT64_MAX;
    return static_cast<uint64_t>(rounded);
}

}  // namespace

int64_t clockDifference(uint64_t live, uint64_t ghost) {
    if (live >= ghost) {
        const uint64_t gap = live - ghost;
        return gap > uint64_t(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(gap);
    }
    const uint64_t gap = ghost - live;
    return gap > uint64_t(INT64_MAX) ? INT64_MIN : -static_cast<int64_t>(gap);
}

uint32_t nextStatus(uint32_t previous, int64_t delta, uint32_t evenThreshold) {
    const int64_t threshold = evenThreshold;
    switch (previous) {
        case race_status::kAhead:
            if (delta > threshold) return race_status::kBehind;
            return delta < 0 ? race_status::kAhead : race_status::kEven;
        case race_status::kBehind:
            if (delta < -threshold) return race_status::kAhead;
            return delta > 0 ? race_status::kBehind : race_status::kEven;
        default:
            if (delta > threshold) return race_status::kBehind;
            return delta < -threshold ? race_status::kAhead : race_status::kEven;
    }
}

uint32_t firstSampleAtClock(const std::vector<PathSample>& path, uint32_t sampleLimit, uint64_t startClock) {
    const uint32_t limit = std::min<uint32_t>(sampleLimit, static_cast<uint32_t>(path.size()));
    if (limit == 0) return 0;
    uint32_t low = 0, high = limit;
    while (low < high) {
        const uint32_t middle = low + (high - low) / 2;
        if (effectiveClock(path, middle) < startClock) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low < limit ? low : limit - 1;
}

void compare(ComparisonResult& result, ComparisonState& state, const std::vector<PathSample>& path,
             uint32_t sampleLimit, LivePosition live, uint64_t liveClock, const ComparisonParams& params) {
    result = ComparisonResult{};
    const bool matchedBefore = state.matchedLastCall;
    state.matchedLastCall = false;
    sampleLimit = std::min<uint32_t>(sampleLimit, static_cast<uint32_t>(path.size()));
    if (sampleLimit == 0) return;

    const uint32_t lastIndex = sampleLimit - 1;
    const Window window = searchWindow(state, matchedBefore, lastIndex, liveClock, params);
    Candidate best;
    if (sampleLimit == 1) {
        offerSample(best, path, 0, live, liveClock);
    } else {
        const uint32_t lastPiece = sampleLimit - 2;
        const uint32_t first = std::min<uint32_t>(static_cast<uint32_t>(std::floor(window.lower)), lastPiece);
        const double upperFloor = std::floor(window.upper);
        if (upperFloor < first) return;
        const uint32_t final = std::min<uint32_t>(static_cast<uint32_t>(upperFloor), lastPiece);
        for (uint32_t i = first; i <= final; ++i) {
            const double tLow = std::max(0.0, window.lower - i);
            const double tHigh = std::min(1.0, window.upper - i);
            if (tLow > tHigh) continue;
            offerPiece(best, path, i, tLow, tHigh, live, liveClock);
        }
    }
    const double reach = double(params.maxDistancePixels) * 65536.0;
    if (!best.found || best.distanceSquared > reach * reach) return;

    const double roundedPosition = std::floor(best.position + 0.5);
    const int32_t matchedIndex = static_cast<int32_t>(std::min<double>(roundedPosition, lastIndex));
    const uint64_t ghostClock = roundClock(best.clock);
    const int64_t delta = clockDifference(liveClock, ghostClock);
    const uint32_t status = nextStatus(state.status, delta, params.evenThresholdFrames);

    state.position = best.position;
    state.hasMatch = true;
    state.matchedLastCall = true;
    state.lastLiveClock = liveClock;
    state.matchedIndex = matchedIndex;
    state.ghostClock = ghostClock;
    state.delta = delta;
    state.status = status;
    result = ComparisonResult{true, matchedIndex, ghostClock, delta, status};
}

}  // namespace tarvek
