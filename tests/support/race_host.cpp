#include "support/race_host.h"

#include "ghostdata/ghost_format.h"
#include "host/host_layout.h"
#include "sim/sim_module.h"
#include "support/ghost_files.h"

namespace tarvek::testing {

PixelPath straightRun(uint32_t still, uint32_t moving, int32_t x, int32_t y, int32_t stepX) {
    PixelPath path;
    for (uint32_t i = 0; i < still; ++i) path.emplace_back(x, y);
    for (uint32_t i = 1; i <= moving; ++i) path.emplace_back(x + static_cast<int32_t>(i) * stepX, y);
    return path;
}

GhostRecording recordingFromPaths(const std::vector<PixelPath>& segments) {
    GhostRecording recording;
    for (uint32_t s = 0; s < segments.size(); ++s) {
        for (const auto& [x, y] : segments[s]) {
            recording.frames.push_back(makeGhostFrame(s, sim::fixedPixels(x), sim::fixedPixels(y)));
        }
    }
    recording.segments = buildTurnSegments(recording.frames);
    recording.movementStart = buildMovementStarts(recording.frames, recording.segments);
    recording.firstMovementFrame = recording.movementStart.empty() ? 0 : recording.movementStart[0];
    return recording;
}

std::vector<sim::WormFrame> activeFrames(const PixelPath& path, uint32_t state) {
    std::vector<sim::WormFrame> frames;
    for (const auto& [x, y] : path) frames.push_back({sim::fixedPixels(x), sim::fixedPixels(y), true, state});
    return frames;
}

std::vector<sim::WormFrame> inactiveFrames(uint32_t count, int32_t x, int32_t y) {
    return std::vector<sim::WormFrame>(count, sim::WormFrame{sim::fixedPixels(x), sim::fixedPixels(y), false, 0});
}

std::vector<sim::WormFrame> concat(std::vector<std::vector<sim::WormFrame>> parts) {
    std::vector<sim::WormFrame> all;
    for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

RaceHostTest::RaceHostTest() {
    sim::resetModuleRaceState();
    sim::installFrameDriver(host);
    world.setFeedbackGates(0, 0);
}

void RaceHostTest::enterWorld() {
    const sim::SimWorm visitor(host, world, 0xFFFF, 0xFFFF);
    host.sendWormMessage(visitor.address(), host_layout::message::kFrame);
}

RaceHostTest::~RaceHostTest() { sim::resetModuleRaceState(); }

}  // namespace tarvek::testing
