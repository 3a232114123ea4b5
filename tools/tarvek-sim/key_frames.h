#pragma once
// The pictures of a run: key frames of each scenario as PNG files, a race plot per race
// scenario, and the contact sheet of every key frame with captions.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "sim/sim_palette.h"
#include "tools/scenarios/scenarios.h"
#include "tools/tarvek-sim/race_run.h"

namespace tarvek::simtool {

class KeyFrames {
public:
    explicit KeyFrames(std::filesystem::path out) : out_(std::move(out)) {}

    void capture(const scenarios::Scenario& scenario, const scenarios::KeyFrame& key, RaceGame& game);
    // Writes the race plot of a race scenario; returns its path (empty for no race).
    std::string finishScenario(const scenarios::Scenario& scenario, const RunResult& result);
    // Writes the contact sheet and returns its path.
    std::string writeContactSheet();
    size_t count() const { return frames_.size(); }

private:
    struct Frame {
        std::string scenario;
        std::string caption;
        uint32_t frame = 0;
        std::string path;
        uint32_t width = 0;
        uint32_t height = 0;
        std::vector<uint8_t> pixels;
    };
    std::filesystem::path out_;
    std::vector<Frame> frames_;
    sim::Palette palette_{};
};

}  // namespace tarvek::simtool
