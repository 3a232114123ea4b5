#pragma once
// Shared by the ghost benchmarks: the 100000-frame ghost they load and a paired timer.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "support/ghost_files.h"

namespace tarvek::bench {

// 100000 frames in 1000 segments of 100 frames (about 146 MB as a file).
inline std::vector<GhostFrame> largeGhostFrames() {
    std::vector<uint32_t> segments(kGhostMaxFrames);
    for (uint32_t i = 0; i < kGhostMaxFrames; ++i) segments[i] = i / 100;
    return testing::framesWithSegments(segments);
}

struct PairedTimes {
    double ratio = 0;  // median of the per-pair ratios a / b
    double aSeconds = 0;
    double bSeconds = 0;
};

// Runs a and b alternately `runs` times so that load from other processes falls on both alike;
// reports the median ratio of each pair and the median time of each side.
template <typename FnA, typename FnB>
PairedTimes pairedMedians(int runs, FnA&& a, FnB&& b) {
    auto seconds = [](auto&& fn) {
        const auto start = std::chrono::steady_clock::now();
        fn();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    std::vector<double> ratios, aTimes, bTimes;
    for (int i = 0; i < runs; ++i) {
        aTimes.push_back(seconds(a));
        bTimes.push_back(seconds(b));
        ratios.push_back(aTimes.back() / bTimes.back());
    }
    auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    return {median(ratios), median(aTimes), median(bTimes)};
}

}  // namespace tarvek::bench
