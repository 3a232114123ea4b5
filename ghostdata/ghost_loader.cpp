#include "ghostdata/ghost_loader.h"

#include <fstream>
#include <string>

#include "ghostdata/ghost_format.h"
#include "host/file_path.h"
#include "host/log.h"

namespace tarvek {
namespace {

// Segment indices start at 0 or 1 and never skip or go back; their number must match the header.
bool sanitizeFramesInOrder(std::vector<GhostFrame>& frames, uint32_t segmentCount) {
    uint32_t previous = 0;
    for (GhostFrame& frame : frames) {
        if (!sanitizeGhostFrame(frame)) return false;
        const uint32_t index = frame.segmentIndex();
        if (index != previous && index != previous + 1) return false;
        previous = index;
    }
    return uint64_t{previous} + 1 == segmentCount;
}

}  // namespace

bool readGhostFrames(std::istream& in, std::vector<GhostFrame>& out) {
    uint8_t headerBytes[kGhostHeaderSize];
    if (!in.read(reinterpret_cast<char*>(headerBytes), sizeof headerBytes)) return false;
    GhostHeader header;
    if (!parseGhostHeader(headerBytes, header)) return false;
    if (!streamSizeIs(in, expectedGhostFileSize(header.frameCount))) return false;
    if (!in.seekg(kGhostHeaderSize, std::ios::beg)) return false;

    // The header bounds this allocation: at most kGhostMaxFrames records. The read fills them.
    std::vector<GhostFrame> frames;
    frames.reserve(header.frameCount);
    for (uint32_t i = 0; i < header.frameCount; ++i) frames.emplace_back(GhostFrame::kUninitialized);
    const std::streamsize bytes = static_cast<std::streamsize>(frames.size()) * kGhostRecordSize;
    if (!in.read(reinterpret_cast<char*>(frames.data()), bytes) || in.gcount() != bytes) return false;
    if (!sanitizeFramesInOrder(frames, header.segmentCount)) return false;
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
