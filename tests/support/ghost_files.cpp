#include "support/ghost_files.h"

#include <cstring>

namespace tarvek::testing {
namespace {

void appendLe32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

void appendFrame(std::string& out, const GhostFrame& frame) {
    out.append(reinterpret_cast<const char*>(frame.bytes.data()), frame.bytes.size());
}

}  // namespace

GhostFrame makeGhostFrame(uint32_t segment, int32_t x, int32_t y, uint8_t fill) {
    GhostFrame frame;
    frame.bytes.fill(fill);
    frame.setWord(GhostFrame::kSegmentIndex, segment);
    frame.setWord(GhostFrame::kPositionX, static_cast<uint32_t>(x));
    frame.setWord(GhostFrame::kPositionY, static_cast<uint32_t>(y));
    return frame;
}

std::vector<GhostFrame> framesWithSegments(const std::vector<uint32_t>& segmentIndices) {
    std::vector<GhostFrame> frames;
    int32_t step = 0;
    for (size_t i = 0; i < segmentIndices.size(); ++i) {
        const bool segmentStart = i == 0 || segmentIndices[i] != segmentIndices[i - 1];
        step = segmentStart ? 0 : step + 1;
        const int32_t x = (static_cast<int32_t>(segmentIndices[i]) * 100 + step) << 16;
        frames.push_back(makeGhostFrame(segmentIndices[i], x, 7 << 16, static_cast<uint8_t>(i)));
    }
    return frames;
}

GhostHeaderFields ghostHeaderFor(const std::vector<GhostFrame>& frames) {
    GhostHeaderFields header;
    header.frameCount = static_cast<uint32_t>(frames.size());
    header.segmentCount = frames.empty() ? 0 : frames.back().segmentIndex() + 1;
    return header;
}

std::string encodeGhost(const GhostHeaderFields& header, const std::vector<GhostFrame>& frames) {
    std::string out(header.magic.data(), header.magic.size());
    for (uint32_t word : {header.version, header.frameRate, header.recordSize, header.frameCount,
                          header.segmentCount, header.extra[0], header.extra[1], header.extra[2]})
        appendLe32(out, word);
    out.reserve(out.size() + frames.size() * kGhostRecordSize);
    for (const GhostFrame& frame : frames) appendFrame(out, frame);
    return out;
}

std::string encodeGhost(const std::vector<GhostFrame>& frames) {
    return encodeGhost(ghostHeaderFor(frames), frames);
}

TailBlockSpec continuingBlock(const std::vector<GhostFrame>& frames, uint32_t segment,
                              uint32_t overlap, uint32_t newCount) {
    TailBlockSpec block{segment, overlap, newCount, {}};
    size_t end = 0;
    for (size_t i = 0; i < frames.size(); ++i)
        if (frames[i].segmentIndex() == segment) end = i + 1;
    for (size_t i = end - overlap; i < end; ++i) block.records.push_back(frames[i]);
    const GhostFrame& last = frames[end - 1];
    for (uint32_t k = 1; k <= newCount; ++k)
        block.records.push_back(makeGhostFrame(segment, last.positionX() + (static_cast<int32_t>(k) << 16),
                                               last.positionY(), static_cast<uint8_t>(0xA0 + k)));
    return block;
}

TailHeaderFields tailHeaderFor(const std::string& ghostFile, const std::vector<TailBlockSpec>& blocks) {
    TailHeaderFields header;
    header.blockCount = static_cast<uint32_t>(blocks.size());
    for (const TailBlockSpec& block : blocks)
        header.recordCount += static_cast<uint32_t>(block.records.size());
    header.ghostDigest = sha256(ghostFile.data(), ghostFile.size());
    return header;
}

std::string encodeTail(const TailHeaderFields& header, const std::vector<TailBlockSpec>& blocks) {
    std::string out(header.magic.data(), header.magic.size());
    for (uint32_t word : {header.version, header.frameRate, header.recordSize, header.recordCount,
                          header.blockCount, header.reserved[0], header.reserved[1]})
        appendLe32(out, word);
    out.append(reinterpret_cast<const char*>(header.ghostDigest.data()), header.ghostDigest.size());
    for (const TailBlockSpec& block : blocks) {
        appendLe32(out, block.segment);
        appendLe32(out, block.overlapCount);
        appendLe32(out, block.newCount);
        for (const GhostFrame& frame : block.records) appendFrame(out, frame);
    }
    return out;
}

std::string encodeTail(const std::string& ghostFile, const std::vector<TailBlockSpec>& blocks) {
    return encodeTail(tailHeaderFor(ghostFile, blocks), blocks);
}

}  // namespace tarvek::testing
