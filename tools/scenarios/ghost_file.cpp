#include "tools/scenarios/ghost_file.h"

#include <cstring>

#include "ghostdata/file_headers.h"
#include "ghostdata/ghost_recording.h"
#include "tools/scenarios/race_course.h"

namespace tarvek::scenarios {
namespace {

GhostFrame frameAt(uint32_t segment, int32_t x) {
    GhostFrame frame;
    frame.setWord(GhostFrame::kSegmentIndex, segment);
    frame.setWord(GhostFrame::kPositionX, static_cast<uint32_t>(x) << 16);
    frame.setWord(GhostFrame::kPositionY, static_cast<uint32_t>(courseY(x)) << 16);
    return frame;
}

}  // namespace

int32_t turnEndX(const RunTurn& turn) {
    int32_t x = turn.startX;
    for (const auto& [speed, frames] : turn.legs) x += speed * static_cast<int32_t>(frames);
    return x;
}

std::string encodeGhostFile(const std::vector<RunTurn>& turns) {
    std::vector<GhostFrame> frames;
    for (uint32_t segment = 0; segment < turns.size(); ++segment) {
        const RunTurn& turn = turns[segment];
        int32_t x = turn.startX;
        for (uint32_t i = 0; i < turn.still; ++i) frames.push_back(frameAt(segment, x));
        for (const auto& [speed, count] : turn.legs)
            for (uint32_t i = 0; i < count; ++i) frames.push_back(frameAt(segment, x += speed));
    }
    GhostFileHeader header{};
    std::memcpy(header.magic, "TARVEK2", 8);
    header.version = 2;
    header.frameRate = 50;
    header.recordSize = kGhostRecordSize;
    header.frameCount = static_cast<uint32_t>(frames.size());
    header.segmentCount = static_cast<uint32_t>(turns.size());
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    for (const GhostFrame& frame : frames) bytes.append(reinterpret_cast<const char*>(frame.bytes.data()), frame.bytes.size());
    return bytes;
}

}  // namespace tarvek::scenarios
