#include "ghostdata/ghost_loader.h"

#include <algorithm>
#include <fstream>
#include <string>

#include "ghostdata/ghost_format.h"
#include "host/file_path.h"
#include "host/log.h"

namespace tarvek {
namespace {

// Segment indices start at 0 or 1 and never skip or go back.
class SegmentOrder {
public:
    bool accepts(uint32_t index) {
        if (index != previous_ && index != previous_ + 1) return false;
        previous_ = index;
        return true;
    }
    uint64_t segmentCount() const { return uint64_t{previous_} + 1; }

private:
    uint32_t previous_ = 0;
};

bool readRecords(std::istream& in, GhostFrame* records, size_t count) {
    const auto bytes = static_cast<std::streamsize>(count * kGhostRecordSize);
    return in.read(reinterpret_cast<char*>(records), bytes) && in.gcount() == bytes;
}

}  // namespace

bool readGhostFrames(std::istream& in, std::vector<GhostFrame>& out) {
    uint8_t headerBytes[kGhostHeaderSize];
    if (!in.read(reinterpret_cast<char*>(headerBytes), sizeof headerBytes)) return false;
    GhostHeader header;
    if (!parseGhostHeader(headerBytes, header)) return false;
    if (!streamSizeIs(in, expectedGhostFileSize(header.frameCount))) return false;
    if (!in.seekg(kGhostHeaderSize, std::ios::beg)) return false;

    // The header bounds this reservation: at most kGhostMaxFrames records. The records come in
    // through a small buffer that stays in cache and are checked and cleared there before being
    // appended, so the large fresh vector is only written once, by this process. Letting the
    // kernel fill it and then walking it would touch every fresh page twice, which on some
    // virtual machines costs about as much again as the read.
    std::vector<GhostFrame> frames;
    frames.reserve(header.frameCount);
    std::vector<GhostFrame> chunk(std::min(kGhostReadChunkFrames, header.frameCount));
    SegmentOrder order;
    while (frames.size() < header.frameCount) {
        const size_t count = std::min<size_t>(chunk.size(), header.frameCount - frames.size());
        if (!readRecords(in, chunk.data(), count)) return false;
        for (size_t i = 0; i < count; ++i)
            if (!sanitizeGhostFrame(chunk[i]) || !order.accepts(chunk[i].segmentIndex())) return false;
        frames.insert(frames.end(), chunk.begin(), chunk.begin() + static_cast<ptrdiff_t>(count));
    }
    if (order.segmentCount() != header.segmentCount) return false;
    out = std::move(frames);
    return true;
}

bool loadGhostRecording(std::string_view path, std::vector<GhostFrame>& frames,
                        std::vector<TurnSegment>& segments, std::vector<uint32_t>& movementStart,
                        uint32_t& firstMovementFrame, std::string_view label) {
    try {
        std::ifstream in(openablePath(path), std::ios::binary);
        if (!in) return false;
        std::vector<GhostFrame> loaded;
        if (!readGhostFrames(in, loaded) || loaded.empty()) return false;
        std::vector<TurnSegment> newSegments = buildTurnSegments(loaded);
        std::vector<uint32_t> newStarts = buildMovementStarts(loaded, newSegments);
        const std::string line = "loaded " + std::to_string(loaded.size()) + " " + std::string(label) +
                                 " ghost frames in " + std::to_string(newSegments.size()) +
                                 " turn segment(s)";
        // Nothing below can fail: the slot is replaced as a whole.
        frames.swap(loaded);
        segments.swap(newSegments);
        movementStart.swap(newStarts);
        firstMovementFrame = movementStart.empty() ? 0 : movementStart.front();
        logLine(line);
        return true;
    } catch (...) {
        // An allocation failure is a failed load like any other.
        return false;
    }
}

bool loadGhostRecording(std::string_view path, GhostRecording& slot, std::string_view label) {
    return loadGhostRecording(path, slot.frames, slot.segments, slot.movementStart,
                              slot.firstMovementFrame, label);
}

}  // namespace tarvek
