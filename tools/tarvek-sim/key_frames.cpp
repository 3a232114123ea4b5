#include "tools/tarvek-sim/key_frames.h"

namespace tarvek::simtool {

void KeyFrames::capture(const scenarios::Scenario&, const scenarios::KeyFrame&, RaceGame&) {}

void KeyFrames::finishScenario(const scenarios::Scenario&, const RunResult&) {}

std::string KeyFrames::writeContactSheet() { return {}; }

}  // namespace tarvek::simtool
