// One full rebuild of the ghost graphics on a fresh palette (cube, both ghosts' six opacity
// levels, crown sprites) through prepareGhostGraphics on the simulated host, against a plain
// nearest-entry search over the same 262,144 cube cells, measured in the same run. Medians of
// wall time (and of the rebuild's processor time, which other load on the machine inflates less).
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>
#include <memory>

#include "bench_support.h"
#include "host/host_layout.h"
#include "presentation/ghost_graphics.h"
#include "race/frame_driver.h"
#include "sim/sim_module.h"
#include "sim/sim_world.h"
#include "support/palettes.h"

namespace {

using namespace tarvek;

constexpr int kRuns = 9;

}  // namespace

int main() {
    sim::SimHost host;
    sim::SimWorld world(host.space());
    sim::resetModuleRaceState();
    const HostAddr display = host.space().allocate(host_layout::display::kPalette + kPaletteBytes);
    world.setWatchedPointer(display);
    frameDriver().lastWatchedPointer = display;
    goldGhost().frames.resize(1);
    blueGhost().frames.resize(1);

    uint32_t seed = 1;
    auto reference = std::make_unique<InverseColourCube>();
    std::vector<double> processorMs;
    const bench::PairedTimes times = bench::pairedMedians(
        kRuns,
        [&] {
            const Palette palette = testing::randomPalette(seed++);
            host.memory().poke(display + host_layout::display::kPalette, palette.bytes.data(), kPaletteBytes);
            const std::clock_t start = std::clock();
            prepareGhostGraphics(world.world(), false);
            processorMs.push_back(1e3 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
        },
        [&] { testing::bruteForceCube(testing::randomPalette(seed), *reference); });

    const GhostGraphicsCache& cache = ghostGraphicsCache();
    if (!cache.gold.builtFor(display) || !cache.blue.builtFor(display) || !cache.crown.builtFor(display)) {
        std::fprintf(stderr, "bench graphics: the rebuild did not happen\n");
        return 1;
    }
    std::sort(processorMs.begin(), processorMs.end());
    std::printf("bench graphics rebuild_ms=%.2f ratio=%.3f rebuild_cpu_ms=%.2f brute_force_cube_ms=%.1f\n",
                times.aSeconds * 1e3, times.ratio, processorMs[processorMs.size() / 2], times.bSeconds * 1e3);
    sim::resetModuleRaceState();
    return 0;
}
