#include "presentation/line_batch.h"

#include "host/host_context.h"
#include "host/host_layout.h"
#include "presentation/display_hooks.h"
#include "presentation/ghost_graphics.h"

namespace tarvek {
namespace {

const uint8_t* levelTableFor(const LineBatchKey& key) {
    const GhostGraphics& graphics = ghostGraphics(key.isBlue);
    if (!graphics.builtFor(key.display)) return nullptr;
    const OpacityTable* table = graphics.levelTable(key.level);
    return table ? table->data() : nullptr;
}

void drawOpaque(const BatchedLine& line) {
    const DisplayHookTargets& targets = displayHookTargets();
    const LineEnds& e = line.ends;
    if (line.entry == host_layout::display_table::kLineDraw6) {
        hostCalls().callDisplayWideLine(targets.wideLine, line.display, e.x1, e.y1, e.x2, e.y2, line.colour,
                                        line.lastParameter);
    } else {
        hostCalls().callDisplayThinLine(targets.thinLine, line.display, e.x1, e.y1, e.x2, e.y2, line.colour);
    }
}

}  // namespace

LineBatch& lineBatch() {
    static LineBatch batch;
    return batch;
}

void batchGhostLine(const LineBatchKey& key, const BatchedLine& line) {
    LineBatch& batch = lineBatch();
    if (batch.count > 0 && (!(batch.key == key) || batch.count >= kLineBatchCapacity)) flushLineBatch();
    if (batch.count == 0) batch.key = key;
    batch.lines[batch.count++] = line;
    if (batch.count >= key.segments) flushLineBatch();
}

void flushLineBatch() noexcept {
    LineBatch& batch = lineBatch();
    const uint32_t count = batch.count;
    if (count == 0) return;
    batch.count = 0;
    // A copy: whatever the host's line routine calls cannot disturb the lines being drawn.
    const LineBatchKey key = batch.key;
    BatchedLine lines[kLineBatchCapacity];
    LineEnds ends[kLineBatchCapacity];
    for (uint32_t i = 0; i < count; ++i) {
        lines[i] = batch.lines[i];
        ends[i] = lines[i].ends;
    }
    const uint8_t* table = nullptr;
    bool kept = false;
    try {
        table = levelTableFor(key);
        kept = table && captureLineTiles(key.display, ends, count);
    } catch (...) {
        kept = false;  // the lines are still drawn, opaque
    }
    for (uint32_t i = 0; i < count; ++i) {
        try {
            drawOpaque(lines[i]);
        } catch (...) {
        }
    }
    if (!kept) return;
    try {
        blendCapturedTiles(key.display, table);
    } catch (...) {
    }
}

}  // namespace tarvek
