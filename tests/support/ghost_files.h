#pragma once
// Builds ghost and tail files byte by byte, including broken ones, for tests, the fuzz seed
// corpus and the benchmarks.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ghostdata/ghost_recording.h"
#include "ghostdata/sha256.h"

namespace tarvek::testing {

// A frame of segment `segment` at position (x, y); the uninterpreted bytes carry `fill` so that
// records differ from one another.
GhostFrame makeGhostFrame(uint32_t segment, int32_t x, int32_t y, uint8_t fill = 0x5A);

// Frames with the given segment index per frame; the worm moves one pixel per frame in X from
// the second frame of each segment on.
std::vector<GhostFrame> framesWithSegments(const std::vector<uint32_t>& segmentIndices);

struct GhostHeaderFields {
    std::array<char, 8> magic{'T', 'A', 'R', 'V', 'E', 'K', '2', '\0'};
    uint32_t version = 2;
    uint32_t frameRate = 50;
    uint32_t recordSize = 1464;
    uint32_t frameCount = 0;
    uint32_t segmentCount = 0;
    std::array<uint32_t, 3> extra{};
};

// Header for frames whose segment indices run 0..last.
GhostHeaderFields ghostHeaderFor(const std::vector<GhostFrame>& frames);
std::string encodeGhost(const GhostHeaderFields& header, const std::vector<GhostFrame>& frames);
std::string encodeGhost(const std::vector<GhostFrame>& frames);

struct TailBlockSpec {
    uint32_t segment = 0;
    uint32_t overlapCount = 0;
    uint32_t newCount = 0;
    std::vector<GhostFrame> records;  // overlap records, then the new frames
};

struct TailHeaderFields {
    std::array<char, 8> magic{'T', 'K', 'T', 'A', 'I', 'L', '2', '\0'};
    uint32_t version = 2;
    uint32_t frameRate = 50;
    uint32_t recordSize = 1464;
    uint32_t recordCount = 0;
    uint32_t blockCount = 0;
    std::array<uint32_t, 2> reserved{};
    Sha256Digest ghostDigest{};
};

// A block that continues segment `segment` of `frames` (segment indices 0..last, contiguous):
// its last `overlap` frames, then `newCount` new frames moving on in X.
TailBlockSpec continuingBlock(const std::vector<GhostFrame>& frames, uint32_t segment,
                              uint32_t overlap, uint32_t newCount);
// Header with counts summed from the blocks and the digest of ghostFile.
TailHeaderFields tailHeaderFor(const std::string& ghostFile, const std::vector<TailBlockSpec>& blocks);
std::string encodeTail(const TailHeaderFields& header, const std::vector<TailBlockSpec>& blocks);
std::string encodeTail(const std::string& ghostFile, const std::vector<TailBlockSpec>& blocks);

}  // namespace tarvek::testing
