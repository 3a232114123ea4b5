#pragma once
// Byte-level rules shared by the ghost and tail readers: record tags and the fields that are
// cleared on load, the ghost header checks, and the segment tables built from the frames.
#include <cstdint>
#include <istream>
#include <vector>

#include "ghostdata/ghost_recording.h"

namespace tarvek {

inline constexpr uint32_t kGhostFrameRate = 50;
inline constexpr uint32_t kGhostFormatVersion = 2;

// Rejects a record that carries one of the tags a recorder leaves in its working copies, then
// clears the fields that hold host pointers and per-session values. False for a tagged record.
bool sanitizeGhostFrame(GhostFrame& frame);

struct GhostHeader {
    uint32_t frameCount = 0;
    uint32_t segmentCount = 0;
};

// Checks the 40-byte header; nothing else of the file is looked at.
bool parseGhostHeader(const uint8_t (&bytes)[kGhostHeaderSize], GhostHeader& header);

// True when the stream's total size is exactly `expected` (64-bit); leaves it at the end.
bool streamSizeIs(std::istream& in, uint64_t expected);

// Exact file size a header promises, in 64 bits.
uint64_t expectedGhostFileSize(uint32_t frameCount);

// Segment table from the frames' segment indices (already known to be contiguous).
std::vector<TurnSegment> buildTurnSegments(const std::vector<GhostFrame>& frames);
// Per segment: the first frame index, within the segment, whose position differs from the
// segment's first frame; frameCount when the worm never moves.
std::vector<uint32_t> buildMovementStarts(const std::vector<GhostFrame>& frames,
                                          const std::vector<TurnSegment>& segments);

}  // namespace tarvek
