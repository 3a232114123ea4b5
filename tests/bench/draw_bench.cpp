// The module's share of one drawing frame: two ghosts on ropes drawn by the drawing pass, their
// render commands marked, the display hooks (sprite table swaps, line batches, tile snapshots)
// and the frame-end flush, on the simulated game with its own display routines doing nothing.
// The same frame of the game alone (no module installed) is measured alternately in the same
// run; the difference of the medians is the module's share.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "race/ghost_drawing.h"
#include "sim/sim_scene.h"

namespace {

using namespace tarvek;

constexpr int kRuns = 15;
constexpr int kFramesPerRun = 400;

// The live worm on a rope of eight anchors; with the module, both ghosts hang from it too.
void setUp(sim::SimScene& scene, bool withGhosts) {
    scene.host.setDisplayRoutinesIdle(true);
    std::vector<sim::PixelPoint> anchors;
    for (int32_t i = 0; i < 8; ++i) anchors.push_back({40 + 30 * i, 10 + (i % 3) * 6});
    scene.hangLiveWormOnRope(anchors);
    scene.placeLiveWorm(200, 120);
    if (!withGhosts) return;
    GhostFrame gold = sim::sceneGhostFrame(100, 110);  // both about 100 px from the live worm
    sim::hangGhostOnRope(gold, 8, 0x0800);
    GhostFrame blue = sim::sceneGhostFrame(300, 115);
    sim::hangGhostOnRope(blue, 8, 0x0400);
    scene.showGhost(false, gold);
    scene.showGhost(true, blue);
    scene.prepareGraphics();
}

double nanosecondsPerFrame(sim::SimScene& scene) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kFramesPerRun; ++i) scene.renderFrame();
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / kFramesPerRun;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    // The game alone never enters the module, so the module may be bound to the other scene's
    // host, which is made last.
    sim::SimScene game(320, 200, false);
    setUp(game, false);
    sim::SimScene withModule(320, 200, true);
    setUp(withModule, true);
    nanosecondsPerFrame(game);  // warm-up
    nanosecondsPerFrame(withModule);
    if (ghostDrawState(false).fadeLevel != 0 || ghostDrawState(true).fadeLevel != 0)
        std::fprintf(stderr, "bench draw: the ghosts are not drawn at level 0\n");
    std::vector<double> gameNs, moduleNs;
    for (int run = 0; run < kRuns; ++run) {
        gameNs.push_back(nanosecondsPerFrame(game));
        moduleNs.push_back(nanosecondsPerFrame(withModule));
    }
    const double gameMedian = median(gameNs);
    const double frameMedian = median(moduleNs);
    std::printf("bench draw ns_per_frame=%.0f frame_ns=%.0f game_alone_ns=%.0f\n", frameMedian - gameMedian,
                frameMedian, gameMedian);
    return 0;
}
