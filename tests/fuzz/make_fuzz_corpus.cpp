// Writes the seed corpora of the ghost and tail fuzz targets into DIR/ghost_reader and
// DIR/visual_tail: valid files of several shapes and a few near misses.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "fuzz/fuzz_tail_ghost.h"
#include "support/ghost_files.h"

namespace {

using namespace tarvek;
using namespace tarvek::testing;

void writeSeed(const std::filesystem::path& dir, const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary) << bytes;
}

void writeGhostSeeds(const std::filesystem::path& dir) {
    writeSeed(dir, "one_frame", encodeGhost(framesWithSegments({0})));
    writeSeed(dir, "three_segments", encodeGhost(framesWithSegments({0, 1, 1})));
    writeSeed(dir, "empty_first_segment", encodeGhost(framesWithSegments({1, 2})));
    auto header = ghostHeaderFor(framesWithSegments({0, 0}));
    header.extra = {1, 2, 3};
    writeSeed(dir, "header_words", encodeGhost(header, framesWithSegments({0, 0})));
    writeSeed(dir, "skipped_segment", encodeGhost(framesWithSegments({0, 2})));
    writeSeed(dir, "header_only", encodeGhost(header, {}));
}

void writeTailSeeds(const std::filesystem::path& dir) {
    const auto frames = fuzzing::tailGhostFrames();
    auto tail = [&](std::vector<TailBlockSpec> blocks) {
        TailHeaderFields header = tailHeaderFor({}, blocks);
        header.ghostDigest = fuzzing::tailGhostDigest();
        return encodeTail(header, blocks);
    };
    writeSeed(dir, "one_block", tail({continuingBlock(frames, 1, 1, 1)}));
    writeSeed(dir, "two_blocks", tail({continuingBlock(frames, 2, 2, 1), continuingBlock(frames, 0, 3, 1)}));
    writeSeed(dir, "long_overlap", tail({continuingBlock(frames, 0, 3, 2)}));
    writeSeed(dir, "truncated_block", tail({continuingBlock(frames, 1, 1, 1)}).substr(0, 80));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_fuzz_corpus DIR\n";
        return 2;
    }
    const std::filesystem::path root = argv[1];
    writeGhostSeeds(root / "ghost_reader");
    writeTailSeeds(root / "visual_tail");
    return 0;
}
