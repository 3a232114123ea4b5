#pragma once
// Ghost recordings (.tkghost) of runs along the course, written as a recorder would.
#include <cstdint>
#include <string>
#include <vector>

namespace tarvek::scenarios {

// One turn of a run: the worm waits `still` frames at startX, then moves along the racing line
// at each of the given speeds (pixels per frame) for the given number of frames.
struct RunTurn {
    int32_t startX = 0;
    uint32_t still = 0;
    std::vector<std::pair<int32_t, uint32_t>> legs;  // speed, frames
};

// The file bytes: header and one record per frame, a segment per turn.
std::string encodeGhostFile(const std::vector<RunTurn>& turns);

// Where a turn ends.
int32_t turnEndX(const RunTurn& turn);

}  // namespace tarvek::scenarios
