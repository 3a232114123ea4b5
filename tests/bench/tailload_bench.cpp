// bench tailload: loadVisualTail on the 100000-frame ghost (it hashes the whole ghost file to
// bind the tail to it) against sha256File of the ghost alone, both measured here.
#include <cstdio>
#include <iostream>

#include "bench_support.h"
#include "ghostdata/ghost_loader.h"
#include "ghostdata/visual_tail.h"
#include "support/temp_dir.h"

int main() {
    using namespace tarvek;
    testing::TempDir dir;
    const std::vector<GhostFrame> frames = bench::largeGhostFrames();
    const std::string ghost = testing::encodeGhost(frames);
    const std::string path = dir.write("large.tkghost", ghost);
    // A block of 8 overlap and 50 new frames for every tenth segment.
    std::vector<testing::TailBlockSpec> blocks;
    for (uint32_t segment = 0; segment < 1000; segment += 10)
        blocks.push_back(testing::continuingBlock(frames, segment, 8, 50));
    dir.write("large.tktail", testing::encodeTail(ghost, blocks));

    GhostRecording slot;
    if (!loadGhostRecording(path, slot, "world-record")) {
        std::cerr << "bench tailload: the ghost did not load\n";
        return 1;
    }
    bool used = true;
    bool hashed = true;
    auto module = [&] { used = used && loadVisualTail(path, slot, "world-record") == TailRejection::None; };
    auto digest = [&] { hashed = hashed && sha256File(path).has_value(); };
    module();
    digest();
    const int runs = 5;
    const bench::PairedTimes times = bench::pairedMedians(runs, module, digest);
    if (!used || !hashed) {
        std::cerr << "bench tailload: the tail was not used or the ghost not hashed\n";
        return 1;
    }
    std::printf("bench tailload ratio=%.3f module_ms=%.1f sha256file_ms=%.1f tail_frames=%zu runs=%d\n",
                times.ratio, times.aSeconds * 1e3, times.bSeconds * 1e3,
                blocks.size() * 50, runs);
    return 0;
}
