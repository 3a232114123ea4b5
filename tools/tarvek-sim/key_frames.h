#pragma once
// The pictures of a run: key frames of each scenario as PNG files, a race plot per race
// scenario, and the contact sheet of every key frame with captions.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/scenarios/scenarios.h"
#include "tools/tarvek-sim/race_run.h"

namespace tarvek::simtool {

class KeyFrames {
public:
    explicit KeyFrames(std::filesystem::path out) : out_(std::move(out)) {}

    void capture(const scenarios::Scenario& scenario, const scenarios::KeyFrame& key, RaceGame& game);
    void finishScenario(const scenarios::Scenario& scenario, const RunResult& result);
    // The contact sheet's path; empty when there was no frame to show.
    std::string writeContactSheet();
    size_t count() const { return frames_.size(); }

private:
    struct Frame {
        std::string scenario;
        std::string caption;
        uint32_t frame = 0;
        std::string path;
    };
    std::filesystem::path out_;
    std::vector<Frame> frames_;
};

}  // namespace tarvek::simtool
