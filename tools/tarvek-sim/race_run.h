#pragma once
// Plays one scenario: loads the module into a fresh simulated game through the start-up and the
// patch engine, plays every frame with the scenario's chat lines, hotkeys and server, and writes
// what happened to the transcript.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/platform.h"
#include "tools/scenarios/scenarios.h"
#include "tools/scenarios/transcript.h"

namespace tarvek::simtool {

class RaceGame;

// The catalog server of the run: its data, binary and certificate.
struct ServerSetup {
    std::string binary;
    std::string dataDirectory;
    std::string certificate;
    std::string key;
    std::shared_ptr<const Platform> services;  // trusts the run's authority
};

// One frame of the gold comparison, for the race plot.
struct RaceSample {
    uint64_t liveClock = 0;
    int64_t delta = 0;  // live − ghost in frames: positive means behind
    bool turnStart = false;
};

struct RunResult {
    bool ran = false;
    std::string problem;
    uint32_t frames = 0;
    uint32_t hooksPatched = 0;
    std::vector<RaceSample> race;
    double seconds = 0;
};

// Called after each key frame with the game as it stands, to draw it.
using KeyFrameSink = std::function<void(const scenarios::Scenario&, const scenarios::KeyFrame&, RaceGame& game)>;

RunResult runScenario(const scenarios::Scenario& scenario, const std::filesystem::path& moduleDirectory,
                      const ServerSetup& server, scenarios::Transcript& transcript, const KeyFrameSink& keyFrame);

}  // namespace tarvek::simtool
