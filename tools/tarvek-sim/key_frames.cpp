#include "tools/tarvek-sim/key_frames.h"

#include <cstdio>
#include <stdexcept>

#include "race/path_comparison.h"
#include "sim/png_image.h"
#include "tools/support/race_plot.h"
#include "tools/tarvek-sim/contact_sheet.h"
#include "tools/tarvek-sim/race_game.h"

namespace tarvek::simtool {
namespace {

constexpr double kFramesPerSecond = 50.0;

std::string frameName(const std::string& scenario, uint32_t frame) {
    char number[16];
    std::snprintf(number, sizeof number, "%05u", frame);
    return scenario + "-" + number + ".png";
}

}  // namespace

void KeyFrames::capture(const scenarios::Scenario& scenario, const scenarios::KeyFrame& key, RaceGame& game) {
    const std::filesystem::path path = out_ / "frames" / frameName(scenario.name, key.frame);
    std::filesystem::create_directories(path.parent_path());
    Frame frame{scenario.name, key.caption, key.frame, path.string(), game.display.width(), game.display.height(),
                game.display.pixels()};
    std::string error;
    if (!sim::writePalettePng(frame.path, frame.width, frame.height, frame.pixels, game.display.palette(), error))
        throw std::runtime_error(error);
    palette_ = game.display.palette();
    frames_.push_back(std::move(frame));
}

std::string KeyFrames::finishScenario(const scenarios::Scenario& scenario, const RunResult& result) {
    if (!scenario.race || result.race.empty()) return {};
    tools::RacePlot plot;
    plot.title = scenario.name + ": live worm against the gold ghost";
    plot.evenBand = ComparisonParams{}.evenThresholdFrames / kFramesPerSecond;
    for (const RaceSample& sample : result.race) {
        if (sample.turnStart && !plot.points.empty()) plot.turnStarts.push_back(sample.liveClock / kFramesPerSecond);
        plot.points.emplace_back(sample.liveClock / kFramesPerSecond, sample.delta / kFramesPerSecond);
    }
    const std::filesystem::path path = out_ / "frames" / (scenario.name + "-plot.png");
    std::filesystem::create_directories(path.parent_path());
    std::string error;
    if (!tools::writeRacePlot(path.string(), plot, error)) throw std::runtime_error(error);
    return path.string();
}

std::string KeyFrames::writeContactSheet() {
    std::vector<SheetFrame> sheet;
    for (const Frame& frame : frames_)
        sheet.push_back({frame.scenario + " " + std::to_string(frame.frame), frame.caption, frame.width, frame.height,
                         frame.pixels});
    const std::string path = (out_ / "contact-sheet.png").string();
    std::string error;
    if (!simtool::writeContactSheet(path, sheet, palette_, error)) throw std::runtime_error(error);
    return path;
}

}  // namespace tarvek::simtool
