// Per-frame cost of the worm message handler during a running race with two 100000-frame
// ghosts, against the cost of one guarded read of the worm's position.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "ghostdata/ghost_format.h"
#include "host/host_layout.h"
#include "race/frame_driver.h"
#include "race/live_comparison.h"
#include "race/race_state.h"
#include "sim/sim_module.h"
#include "sim/sim_worm.h"

namespace {

using namespace tarvek;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kGhostFrames = 100000;
constexpr int kRepetitions = 5;

// A winding course: one pixel per frame in X, a slow wave in Y; segments of equal length.
GhostRecording windingGhost(uint32_t segments) {
    GhostRecording ghost;
    ghost.frames.resize(kGhostFrames);
    const uint32_t perSegment = kGhostFrames / segments;
    for (uint32_t i = 0; i < kGhostFrames; ++i) {
        GhostFrame& frame = ghost.frames[i];
        const uint32_t segment = std::min(i / perSegment, segments - 1);
        const double y = 400 + 120 * std::sin(i / 300.0);
        frame.setWord(GhostFrame::kSegmentIndex, segment);
        frame.setWord(GhostFrame::kPositionX, i * 20000u);  // 0.3 pixel per frame
        frame.setWord(GhostFrame::kPositionY, static_cast<uint32_t>(static_cast<int32_t>(y * 65536)));
    }
    ghost.segments = buildTurnSegments(ghost.frames);
    ghost.movementStart = buildMovementStarts(ghost.frames, ghost.segments);
    ghost.firstMovementFrame = ghost.movementStart[0];
    return ghost;
}

double nanosecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
}

// Plays the ghost's course as the live worm, one turn per segment (a worm that holds still every
// 7th frame, so it drifts behind and the status changes). The same frames are also played with
// the message left out; the difference is the handler's cost per per-frame message.
double racePerFrame(const GhostRecording& ghost, int8_t schemeTurnTime) {
    sim::SimHost host;
    sim::SimWorld world(host.space());
    sim::resetModuleRaceState();
    sim::installFrameDriver(host);
    host.setSchemeTurnTime(schemeTurnTime);
    world.setFeedbackGates(0, 0);
    goldGhost() = ghost;
    blueGhost() = ghost;
    sim::SimWorm worm(host, world, 1, 1);
    const HostAddr address = worm.address();

    auto play = [&](bool sendMessages) {
        uint64_t messages = 0;
        int32_t frameCounter = world.frameCounter();
        auto frame = [&](const GhostFrame& at, bool active) {
            worm.apply({at.positionX(), at.positionY() + (3 << 16), active, 0});
            world.setFrameCounter(++frameCounter);
            if (sendMessages) onWormMessage(address, 0, host_layout::message::kFrame, 0, 0);
            ++messages;
        };
        const auto start = Clock::now();
        for (const TurnSegment& segment : ghost.segments) {
            for (uint32_t k = 0; k < segment.frameCount; ++k) {
                frame(ghost.frames[segment.firstFrame + k - (k % 7 == 6 ? 1 : 0)], true);
            }
            frame(ghost.frames[segment.firstFrame + segment.frameCount - 1], false);
        }
        return nanosecondsSince(start) / static_cast<double>(messages);
    };
    const double withMessages = play(true);
    if (!slotComparison(kGoldSlot).state.hasMatch) std::fprintf(stderr, "bench frame: the race never matched\n");
    const double scriptOnly = play(false);
    sim::resetModuleRaceState();
    return withMessages - scriptOnly;
}

double guardedReadPerCall() {
    sim::SimHost host;
    sim::SimWorld world(host.space());
    sim::SimWorm worm(host, world, 1, 1);
    const HostMemory& memory = host.memory();
    const HostAddr position = worm.address() + host_layout::worm::kPositionX;
    constexpr int kReads = 2000000;
    int64_t sink = 0;
    const auto start = Clock::now();
    for (int i = 0; i < kReads; ++i) sink += memory.readI32(position + (i & 4)).value_or(0);
    const double ns = nanosecondsSince(start) / kReads;
    if (sink == 42) std::puts("");
    return ns;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const GhostRecording ttrrGhost = windingGhost(1);
    const GhostRecording bigRRGhost = windingGhost(16);  // 6250-frame turns under a 127 s scheme
    std::vector<double> ttrr, bigRR, reads;
    for (int rep = 0; rep < kRepetitions; ++rep) {
        ttrr.push_back(racePerFrame(ttrrGhost, 0));
        bigRR.push_back(racePerFrame(bigRRGhost, 127));
        reads.push_back(guardedReadPerCall());
    }
    const double ttrrNs = median(ttrr);
    const double bigRRNs = median(bigRR);
    const double frameNs = std::max(ttrrNs, bigRRNs);
    const double readNs = median(reads);
    std::printf("bench frame ns_per_frame=%.0f ratio=%.1f ttrr_ns=%.0f bigrr_ns=%.0f read_ns=%.1f\n", frameNs,
                frameNs / readNs, ttrrNs, bigRRNs, readNs);
    return 0;
}
