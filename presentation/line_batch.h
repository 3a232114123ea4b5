#pragma once
// Tagged ghost lines wait in a batch until their polyline is complete, so that the segments of
// one polyline are blended once together instead of over each other.
#include <array>
#include <cstdint>

#include "host/host_memory.h"
#include "presentation/tile_snapshot.h"

namespace tarvek {

inline constexpr uint32_t kLineBatchCapacity = 64;

struct BatchedLine {
    HostAddr display = 0;
    LineEnds ends;
    uint8_t colour = 0;
    uint8_t lastParameter = 0;  // the wide line's width; the colour again for a thin line
    uint32_t entry = 0;         // the display class-table entry: kLineDraw6 (wide) or kLineDraw5
};

struct LineBatchKey {
    HostAddr display = 0;
    bool isBlue = false;
    uint32_t level = 0;
    uint32_t segments = 0;
    uint32_t polyline = 0;
    bool operator==(const LineBatchKey&) const = default;
};

struct LineBatch {
    std::array<BatchedLine, kLineBatchCapacity> lines;
    uint32_t count = 0;
    LineBatchKey key;
};

LineBatch& lineBatch();

// Adds a tagged line: a batch with another key, or a full one, is flushed first; the batch is
// flushed as soon as it holds its polyline's segment count.
void batchGhostLine(const LineBatchKey& key, const BatchedLine& line);

// Draws every batched line opaque through the host's own line routines and blends what they
// changed through the batch ghost's level table. Empties the batch.
void flushLineBatch() noexcept;

}  // namespace tarvek
