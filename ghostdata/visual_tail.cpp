#include "ghostdata/visual_tail.h"

#include <cstring>
#include <fstream>

#include "ghostdata/file_headers.h"
#include "ghostdata/ghost_format.h"
#include "host/file_path.h"
#include "host/log.h"
#include "host/text.h"

namespace tarvek {
namespace {

constexpr char kTailMagic[8] = {'T', 'K', 'T', 'A', 'I', 'L', '2', '\0'};
constexpr size_t kTailHeaderSize = sizeof(TailFileHeader);
constexpr size_t kBlockHeaderSize = sizeof(TailBlockHeader);
constexpr uint32_t kMaxOverlap = 8;
constexpr uint32_t kMaxNewFrames = 1500;
constexpr uint32_t kMaxRecordsPerBlock = kMaxOverlap + kMaxNewFrames;
constexpr std::string_view kGhostExtension = ".tkghost";
constexpr size_t kHashChunkSize = 64 * 1024;

struct TailHeader {
    uint32_t recordCount = 0;
    uint32_t blockCount = 0;
    Sha256Digest ghostDigest{};
};

TailRejection parseTailHeader(const uint8_t (&bytes)[kTailHeaderSize], size_t segmentCount,
                              TailHeader& header) {
    const auto file = unpack<TailFileHeader>(bytes);
    if (std::memcmp(file.magic, kTailMagic, sizeof kTailMagic) != 0) return TailRejection::BadHeader;
    if (file.version != kGhostFormatVersion || file.frameRate != kGhostFrameRate || file.recordSize != kGhostRecordSize)
        return TailRejection::BadHeader;
    if (segmentCount == 0) return TailRejection::NoSegments;
    header.recordCount = file.recordCount;
    header.blockCount = file.blockCount;
    if (header.blockCount == 0 || header.blockCount > segmentCount) return TailRejection::BadHeader;
    if (file.reserved[0] != 0 || file.reserved[1] != 0) return TailRejection::BadHeader;
    const uint64_t blocks = header.blockCount;
    if (header.recordCount < 2 * blocks || header.recordCount > kMaxRecordsPerBlock * blocks)
        return TailRejection::BadHeader;
    std::memcpy(header.ghostDigest.data(), file.ghostDigest, header.ghostDigest.size());
    return TailRejection::None;
}

class BlockReader {
public:
    BlockReader(std::istream& in, const std::vector<GhostFrame>& frames,
                const std::vector<TurnSegment>& segments, const TailHeader& header,
                TailContents& out)
        : in_(in), frames_(frames), segments_(segments), header_(header), out_(out),
          seen_(segments.size(), false) {}

    TailRejection readBlock() {
        uint8_t bytes[kBlockHeaderSize];
        if (!in_.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return TailRejection::BadBlock;
        const auto [segmentIndex, overlapCount, newCount] = unpack<TailBlockHeader>(bytes);
        if (segmentIndex >= segments_.size() || seen_[segmentIndex]) return TailRejection::BadBlock;
        if (overlapCount < 1 || overlapCount > kMaxOverlap) return TailRejection::BadBlock;
        if (newCount < 1 || newCount > kMaxNewFrames) return TailRejection::BadBlock;
        const uint32_t recordCount = overlapCount + newCount;
        if (recordTotal_ + recordCount > header_.recordCount) return TailRejection::BadBlock;
        seen_[segmentIndex] = true;

        std::vector<GhostFrame> records(recordCount);
        const std::streamsize size = static_cast<std::streamsize>(recordCount) * kGhostRecordSize;
        if (!in_.read(reinterpret_cast<char*>(records.data()), size)) return TailRejection::BadBlock;
        for (GhostFrame& record : records)
            if (record.segmentIndex() != segmentIndex || !sanitizeGhostFrame(record))
                return TailRejection::BadBlock;

        const TurnSegment& segment = segments_[segmentIndex];
        const uint64_t segmentEnd = uint64_t{segment.firstFrame} + segment.frameCount;
        if (overlapCount > segment.frameCount || segmentEnd > frames_.size())
            return TailRejection::OverlapMismatch;
        const size_t overlapStart = static_cast<size_t>(segmentEnd - overlapCount);
        for (uint32_t i = 0; i < overlapCount; ++i)
            if (records[i].bytes != frames_[overlapStart + i].bytes)
                return TailRejection::OverlapMismatch;

        auto& tail = out_.tails[segmentIndex];
        tail.assign(records.begin() + overlapCount, records.end());
        recordTotal_ += recordCount;
        out_.tailFrames += newCount;
        return TailRejection::None;
    }

    uint64_t recordTotal() const { return recordTotal_; }

private:
    std::istream& in_;
    const std::vector<GhostFrame>& frames_;
    const std::vector<TurnSegment>& segments_;
    const TailHeader& header_;
    TailContents& out_;
    std::vector<bool> seen_;
    uint64_t recordTotal_ = 0;
};

}  // namespace

std::string_view describeTailRejection(TailRejection rejection) {
    switch (rejection) {
        case TailRejection::None: return "used";
        case TailRejection::Unreadable: return "no readable tail file";
        case TailRejection::BadHeader: return "tail header is invalid";
        case TailRejection::NoSegments: return "ghost has no turn segment";
        case TailRejection::SizeMismatch: return "tail file size does not match its header";
        case TailRejection::GhostUnhashable: return "ghost file could not be hashed";
        case TailRejection::OtherGhost: return "tail belongs to another ghost file";
        case TailRejection::BadBlock: return "a tail block is invalid";
        case TailRejection::OverlapMismatch: return "a tail block does not continue its segment";
    }
    return "unknown";
}

std::string tailPathOf(std::string_view ghostPath) {
    const size_t n = kGhostExtension.size();
    if (ghostPath.size() >= n && equalsIgnoreAsciiCase(ghostPath.substr(ghostPath.size() - n), kGhostExtension))
        ghostPath.remove_suffix(n);
    return std::string(ghostPath) + ".tktail";
}

std::optional<Sha256Digest> sha256File(std::string_view path) {
    std::ifstream in(openablePath(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<char> chunk(kHashChunkSize);
    Sha256 hash;
    while (true) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        if (in.bad()) return std::nullopt;
        hash.update(chunk.data(), static_cast<size_t>(in.gcount()));
        if (in.eof()) break;
        if (in.fail()) return std::nullopt;
    }
    return hash.finish();
}

TailRejection readVisualTail(std::istream& in,
                             const std::function<std::optional<Sha256Digest>()>& ghostDigest,
                             const std::vector<GhostFrame>& frames,
                             const std::vector<TurnSegment>& segments, TailContents& out) {
    uint8_t headerBytes[kTailHeaderSize];
    if (!in.read(reinterpret_cast<char*>(headerBytes), sizeof headerBytes))
        return TailRejection::Unreadable;
    TailHeader header;
    if (TailRejection r = parseTailHeader(headerBytes, segments.size(), header); r != TailRejection::None)
        return r;
    const uint64_t expectedSize = kTailHeaderSize + uint64_t{kBlockHeaderSize} * header.blockCount +
                                  uint64_t{kGhostRecordSize} * header.recordCount;
    if (!streamSizeIs(in, expectedSize)) return TailRejection::SizeMismatch;
    const std::optional<Sha256Digest> digest = ghostDigest();
    if (!digest) return TailRejection::GhostUnhashable;
    if (*digest != header.ghostDigest) return TailRejection::OtherGhost;
    if (!in.seekg(kTailHeaderSize, std::ios::beg)) return TailRejection::Unreadable;

    TailContents contents;
    contents.tails.resize(segments.size());
    contents.blockCount = header.blockCount;
    BlockReader reader(in, frames, segments, header, contents);
    for (uint32_t block = 0; block < header.blockCount; ++block)
        if (TailRejection r = reader.readBlock(); r != TailRejection::None) return r;
    if (reader.recordTotal() != header.recordCount) return TailRejection::BadBlock;
    out = std::move(contents);
    return TailRejection::None;
}

TailRejection loadVisualTail(std::string_view ghostPath, const std::vector<GhostFrame>& frames,
                             const std::vector<TurnSegment>& segments,
                             std::vector<std::vector<GhostFrame>>& tails, std::string_view label) {
    std::vector<std::vector<GhostFrame>>().swap(tails);
    try {
        std::ifstream in(openablePath(tailPathOf(ghostPath)), std::ios::binary);
        if (!in) return TailRejection::Unreadable;
        TailContents contents;
        const TailRejection result = readVisualTail(
            in, [ghostPath] { return sha256File(ghostPath); }, frames, segments, contents);
        if (result != TailRejection::None) return result;
        const std::string line = "loaded " + std::to_string(contents.tailFrames) + " " +
                                 std::string(label) + " visual tail frame(s) across " +
                                 std::to_string(contents.blockCount) + " segment(s)";
        tails.swap(contents.tails);
        logLine(line);
        return TailRejection::None;
    } catch (...) {
        std::vector<std::vector<GhostFrame>>().swap(tails);
        return TailRejection::Unreadable;
    }
}

TailRejection loadVisualTail(std::string_view ghostPath, GhostRecording& slot, std::string_view label) {
    return loadVisualTail(ghostPath, slot.frames, slot.segments, slot.tails, label);
}

}  // namespace tarvek
