#include "tools/tarvek-host32/scenarios.h"

#include "host/host_layout.h"

namespace tarvek::host32 {
namespace {

ModuleFile settingsFile(bool enabled) {
    std::string text = "[General]\r\nEnabled=";
    text += enabled ? "1" : "0";
    text += "\r\nLogFile=";
    text += kLogFileName;
    text += "\r\n";
    return {"wkTarvek.ini", text};
}

// The live worm waits at the start, then swings along the course stepX pixels a frame.
std::vector<sim::WormFrame> turn(uint32_t waiting, uint32_t moving, int32_t x, int32_t stepX) {
    std::vector<sim::WormFrame> frames;
    for (uint32_t i = 0; i < waiting; ++i) frames.push_back({sim::fixedPixels(x), sim::fixedPixels(200), true, 0});
    for (uint32_t i = 1; i <= moving; ++i)
        frames.push_back({sim::fixedPixels(x + static_cast<int32_t>(i) * stepX), sim::fixedPixels(200 - static_cast<int32_t>(i % 40)), true, 0});
    return frames;
}

std::vector<sim::WormFrame> turnEnd(uint32_t frames, int32_t x) {
    return std::vector<sim::WormFrame>(frames, {sim::fixedPixels(x), sim::fixedPixels(200), false, 0});
}

std::vector<sim::WormFrame> oneTurnRace() {
    auto frames = turnEnd(5, 40);
    for (const auto& frame : turn(10, 150, 40, 3)) frames.push_back(frame);
    return frames;
}

std::vector<sim::WormFrame> twoTurnRace() {
    std::vector<sim::WormFrame> frames = turnEnd(5, 40);
    for (const auto& part : {turn(10, 100, 40, 3), turnEnd(30, 340), turn(10, 80, 340, 3)})
        frames.insert(frames.end(), part.begin(), part.end());
    return frames;
}

}  // namespace

std::vector<Scenario> offlineScenarios() {
    const Scenario ttrr{"offline-ttrr", {settingsFile(true)}, {}, 0, oneTurnRace()};
    Scenario bigrr{"offline-bigrr", {settingsFile(true)}, {}, 30, twoTurnRace()};
    Scenario chat = ttrr;
    chat.name = "offline-chat";
    Scenario disabled = ttrr;
    disabled.name = "disabled";
    disabled.files = {settingsFile(false)};
    // Another build of the game: a jump where turn-timer colour A's call was. That hook and the
    // two turn-timer hooks that depend on it stay out; the others go in.
    Scenario changed = ttrr;
    changed.name = "changed-site";
    changed.imageChanges = {{host_layout::image::kTurnTimerColourACallSite, {0xE9}}};
    return {ttrr, bigrr, chat, disabled, changed};
}

}  // namespace tarvek::host32
