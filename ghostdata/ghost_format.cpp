#include "ghostdata/ghost_format.h"

#include <algorithm>
#include <cstring>

#include "ghostdata/file_headers.h"

namespace tarvek {
namespace {

constexpr char kGhostMagic[8] = {'T', 'A', 'R', 'V', 'E', 'K', '2', '\0'};
constexpr uint8_t kTagTkpd[4] = {0x54, 0x4B, 0x50, 0x44};
constexpr uint8_t kTagTail[4] = {0x54, 0x41, 0x49, 0x4C};

constexpr size_t kTkpdTagOffset = 792;
constexpr size_t kTailTagOffset = 868;
constexpr size_t kClearedByte = 164;
constexpr size_t kClearedSpan = 764;
constexpr size_t kClearedSpanSize = 32;
constexpr size_t kClearedWords[] = {852, 856, 868};

bool holdsTag(const GhostFrame& frame, size_t offset, const uint8_t (&tag)[4]) {
    return std::memcmp(frame.bytes.data() + offset, tag, 4) == 0;
}

}  // namespace

bool sanitizeGhostFrame(GhostFrame& frame) {
    if (holdsTag(frame, kTkpdTagOffset, kTagTkpd) || holdsTag(frame, kTailTagOffset, kTagTail))
        return false;
    frame.bytes[kClearedByte] = 0;
    std::memset(frame.bytes.data() + kClearedSpan, 0, kClearedSpanSize);
    for (size_t offset : kClearedWords) frame.setWord(offset, 0);
    return true;
}

bool parseGhostHeader(const uint8_t (&bytes)[kGhostHeaderSize], GhostHeader& header) {
    const auto file = unpack<GhostFileHeader>(bytes);
    if (std::memcmp(file.magic, kGhostMagic, sizeof kGhostMagic) != 0) return false;
    if (file.version != kGhostFormatVersion) return false;
    if (file.frameRate != kGhostFrameRate) return false;
    if (file.recordSize != kGhostRecordSize) return false;
    const uint32_t frameCount = file.frameCount;
    const uint32_t segmentCount = file.segmentCount;
    if (frameCount < 1 || frameCount > kGhostMaxFrames) return false;
    if (segmentCount < 1 || segmentCount > kGhostMaxSegments) return false;
    if (segmentCount > frameCount) return false;
    header = {frameCount, segmentCount};
    return true;
}

bool streamSizeIs(std::istream& in, uint64_t expected) {
    if (!in.seekg(0, std::ios::end)) return false;
    const std::streamoff size = in.tellg();
    return size >= 0 && static_cast<uint64_t>(size) == expected;
}

uint64_t expectedGhostFileSize(uint32_t frameCount) {
    return uint64_t{kGhostHeaderSize} + uint64_t{frameCount} * kGhostRecordSize;
}

std::vector<TurnSegment> buildTurnSegments(const std::vector<GhostFrame>& frames) {
    std::vector<TurnSegment> segments;
    for (size_t i = 0; i < frames.size(); ++i) {
        const uint32_t index = frames[i].segmentIndex();
        if (index >= segments.size()) {
            segments.resize(size_t{index} + 1);
            segments[index].firstFrame = static_cast<uint32_t>(i);
        }
        ++segments[index].frameCount;
    }
    return segments;
}

std::vector<uint32_t> buildMovementStarts(const std::vector<GhostFrame>& frames,
                                          const std::vector<TurnSegment>& segments) {
    std::vector<uint32_t> starts;
    starts.reserve(segments.size());
    for (const TurnSegment& segment : segments) {
        uint32_t start = segment.frameCount;
        if (segment.frameCount >= 2) {
            const GhostFrame& first = frames[segment.firstFrame];
            for (uint32_t k = 1; k < segment.frameCount; ++k) {
                const GhostFrame& frame = frames[size_t{segment.firstFrame} + k];
                if (frame.positionX() != first.positionX() || frame.positionY() != first.positionY()) {
                    start = k;
                    break;
                }
            }
        }
        starts.push_back(start);
    }
    return starts;
}

}  // namespace tarvek
