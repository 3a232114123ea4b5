#pragma once
// In-memory ghost recordings: frame records grouped by turn segment, and the two ghost slots.
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tarvek {

inline constexpr uint32_t kGhostRecordSize = 1464;
inline constexpr uint32_t kGhostHeaderSize = 40;
inline constexpr uint32_t kGhostMaxFrames = 100000;
inline constexpr uint32_t kGhostMaxSegments = 1000;

// One recorded game frame: a snapshot of the host worm's state. Byte offsets of the fields the
// module interprets are named below; the rest is copied into the worm image as it stands.
struct GhostFrame {
    static constexpr size_t kSegmentIndex = 0;
    static constexpr size_t kPositionX = 80;
    static constexpr size_t kPositionY = 84;
    static constexpr size_t kRenderCommand = 1440;

    std::array<uint8_t, kGhostRecordSize> bytes{};

    uint32_t word(size_t offset) const {
        uint32_t value;
        std::memcpy(&value, bytes.data() + offset, 4);
        return value;
    }
    void setWord(size_t offset, uint32_t value) { std::memcpy(bytes.data() + offset, &value, 4); }
    uint32_t segmentIndex() const { return word(kSegmentIndex); }
    int32_t positionX() const { return static_cast<int32_t>(word(kPositionX)); }
    int32_t positionY() const { return static_cast<int32_t>(word(kPositionY)); }
};
static_assert(sizeof(GhostFrame) == kGhostRecordSize);

struct TurnSegment {
    uint32_t firstFrame = 0;
    uint32_t frameCount = 0;
};

struct GhostRecording {
    std::vector<GhostFrame> frames;
    std::vector<TurnSegment> segments;
    std::vector<uint32_t> movementStart;  // per segment; frameCount when the worm never moves
    uint32_t firstMovementFrame = 0;
    std::vector<std::vector<GhostFrame>> tails;  // visual tail frames per segment

    bool empty() const { return frames.empty(); }
};

// The two slots: gold (world record) and blue (personal record or tracked rank).
GhostRecording& goldGhost();
GhostRecording& blueGhost();

// Empties a slot and frees its memory.
void emptyGhostRecording(GhostRecording& slot);

}  // namespace tarvek
