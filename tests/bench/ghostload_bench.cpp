// bench ghostload: loadGhostRecording on a 100000-frame ghost against reading the same file into
// memory with one plain buffered read, both measured here on the warm file.
#include <cstdio>
#include <iostream>
#include <memory>

#include "bench_support.h"
#include "ghostdata/ghost_loader.h"
#include "support/temp_dir.h"

namespace {

volatile unsigned touchSink;  // keeps the page reads from being optimised away

// Reads the whole file into a fresh buffer, as the loader's frames are fresh memory too; with
// touchPages it then reads one byte of every 4 KiB page: the least that reading straight into
// fresh memory and walking it afterwards adds, which the loader avoids.
size_t plainRead(const std::string& path, uint64_t size, bool touchPages) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return 0;
    auto buffer = std::make_unique_for_overwrite<char[]>(size);
    size_t read = std::fread(buffer.get(), 1, size, file);
    std::fclose(file);
    if (touchPages) {
        unsigned sum = 0;
        for (size_t i = 0; i < read; i += 4096) sum += static_cast<unsigned char>(buffer[i]);
        touchSink = sum;
    }
    return read;
}

}  // namespace

int main() {
    using namespace tarvek;
    testing::TempDir dir;
    const std::string ghost = testing::encodeGhost(bench::largeGhostFrames());
    const std::string path = dir.write("large.tkghost", ghost);
    const uint64_t size = ghost.size();

    bool loaded = true;
    size_t readBytes = 0;
    auto module = [&] {
        GhostRecording slot;
        loaded = loaded && loadGhostRecording(path, slot, "world-record") && slot.frames.size() == kGhostMaxFrames;
    };
    auto plain = [&] { readBytes = plainRead(path, size, false); };
    auto touched = [&] { readBytes = plainRead(path, size, true); };
    module();  // warm the page cache and the allocator
    plain();
    const int runs = 9;
    const bench::PairedTimes times = bench::pairedMedians(runs, module, plain);
    const bench::PairedTimes floor = bench::pairedMedians(runs, touched, plain);
    if (!loaded || readBytes != size) {
        std::cerr << "bench ghostload: the ghost did not load or read completely\n";
        return 1;
    }
    std::printf("bench ghostload ratio=%.3f module_ms=%.1f plain_read_ms=%.1f "
                "read_and_touch_ratio=%.3f bytes=%llu runs=%d\n",
                times.ratio, times.aSeconds * 1e3, times.bSeconds * 1e3, floor.ratio,
                static_cast<unsigned long long>(size), runs);
    return 0;
}
