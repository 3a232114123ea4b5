#pragma once
// Reader of visual tail files (.tktail): extra frames shown after a ghost segment ends. A tail
// belongs to one ghost file, named by that file's SHA-256, and is used whole or not at all.
#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ghostdata/ghost_recording.h"
#include "ghostdata/sha256.h"

namespace tarvek {

// Why a tail was not used (None when it was). Only the tools show it; the module plays on
// without a tail whatever the reason.
enum class TailRejection {
    None,
    Unreadable,      // missing file or shorter than its header
    BadHeader,       // magic, version, rate, record size, counts or reserved words
    NoSegments,      // the ghost has no segment to attach a tail to
    SizeMismatch,    // the file size differs from what the header promises
    GhostUnhashable, // the ghost file itself could not be read
    OtherGhost,      // made for another ghost file
    BadBlock,        // a block header, record or count breaks the rules
    OverlapMismatch, // a block does not continue its segment
};
std::string_view describeTailRejection(TailRejection rejection);

// ghost.tkghost (any case) -> ghost.tktail; any other path gets ".tktail" appended.
std::string tailPathOf(std::string_view ghostPath);

// SHA-256 of a whole file, read in 64 KiB chunks; empty when it cannot be opened or read.
std::optional<Sha256Digest> sha256File(std::string_view path);

struct TailContents {
    std::vector<std::vector<GhostFrame>> tails;  // one entry per ghost segment
    uint32_t blockCount = 0;
    uint64_t tailFrames = 0;
};

// Reads a tail from a stream at its start against an already loaded ghost. ghostDigest is asked
// only once the tail's header and size are known to be sound.
TailRejection readVisualTail(std::istream& in,
                             const std::function<std::optional<Sha256Digest>()>& ghostDigest,
                             const std::vector<GhostFrame>& frames,
                             const std::vector<TurnSegment>& segments, TailContents& out);

// Loads the tail beside ghostPath into tails (emptied first, left empty on any failure) and logs
// one "loaded ..." line on success.
TailRejection loadVisualTail(std::string_view ghostPath, const std::vector<GhostFrame>& frames,
                             const std::vector<TurnSegment>& segments,
                             std::vector<std::vector<GhostFrame>>& tails, std::string_view label);
TailRejection loadVisualTail(std::string_view ghostPath, GhostRecording& slot,
                             std::string_view label);

}  // namespace tarvek
