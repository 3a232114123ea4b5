#pragma once
// Reader of ghost recording files (.tkghost).
#include <cstdint>
#include <istream>
#include <string_view>
#include <vector>

#include "ghostdata/ghost_recording.h"

namespace tarvek {

// Records the reader takes from the stream at a time (about 256 KiB).
inline constexpr uint32_t kGhostReadChunkFrames = 179;

// Reads and validates a whole ghost file from a stream positioned at its start: header, exact
// size, tags and segment order. The records come back sanitized; out is replaced only on success.
bool readGhostFrames(std::istream& in, std::vector<GhostFrame>& out);

// Loads the file at path (a module path). On success the four outputs are replaced and one
// "loaded ..." line is logged; on any failure they are left as they were and nothing is logged.
bool loadGhostRecording(std::string_view path, std::vector<GhostFrame>& frames,
                        std::vector<TurnSegment>& segments, std::vector<uint32_t>& movementStart,
                        uint32_t& firstMovementFrame, std::string_view label);
bool loadGhostRecording(std::string_view path, GhostRecording& slot, std::string_view label);

}  // namespace tarvek
