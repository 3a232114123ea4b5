#include "presentation/display_hooks.h"

#include <optional>

#include "host/host_context.h"
#include "host/host_layout.h"
#include "presentation/ghost_graphics.h"
#include "presentation/gap_overlay.h"
#include "presentation/gold_extras.h"
#include "presentation/line_batch.h"
#include "presentation/name_tags.h"
#include "presentation/render_tags.h"
#include "presentation/translucency_swap.h"

namespace tarvek {
namespace {

namespace display = host_layout::display;

// The host's line call as it came in, and what the module did with it.
struct LineCall {
    uint32_t slot = 0;
    HostAddr display = 0;
    LineEnds ends;
    uint32_t colour = 0;
    uint32_t width = 0;  // slot 13 only
};

void callHostLine(const LineCall& call, uint32_t colour) {
    const DisplayHookTargets& targets = displayHookTargets();
    const LineEnds& e = call.ends;
    if (call.slot == display::kSlotWideLine)
        hostCalls().callDisplayWideLine(targets.wideLine, call.display, e.x1, e.y1, e.x2, e.y2, colour, call.width);
    else
        hostCalls().callDisplayThinLine(targets.thinLine, call.display, e.x1, e.y1, e.x2, e.y2, colour);
}

// hostCalled: the host routine has run for this call, or the batch took the line over.
void handleLine(const LineCall& call, bool& hostCalled) {
    if (!isLineTag(call.colour)) {
        flushLineBatch();
        hostCalled = true;
        callHostLine(call, call.colour);
        return;
    }
    const LineTag tag = decodeLineTag(call.colour);
    if (!ghostGraphics(tag.isBlue).builtFor(call.display)) {
        flushLineBatch();
        hostCalled = true;
        callHostLine(call, tag.colour);
        return;
    }
    // From here on the batch owns the line: its flush calls the host routine for it.
    hostCalled = true;
    const uint8_t last = call.slot == display::kSlotWideLine ? static_cast<uint8_t>(call.width) : tag.colour;
    batchGhostLine(LineBatchKey{call.display, tag.isBlue, tag.level, tag.segments, tag.polyline},
                   BatchedLine{call.display, call.ends, tag.colour, last, call.slot});
}

void onLine(const LineCall& call) noexcept {
    bool hostCalled = false;
    try {
        handleLine(call, hostCalled);
    } catch (...) {
    }
    if (hostCalled) return;
    try {
        // Never hand the host a tag word as a colour.
        callHostLine(call, isLineTag(call.colour) ? call.colour & 0xFF : call.colour);
    } catch (...) {
    }
}

void drawExtras(HostAddr displayObject, int32_t x, int32_t y, uint32_t flags, bool swappedFor, bool swappedIsBlue) {
    if (flags & sprite_flags::kGoldExtras) drawGoldExtras(displayObject, x, y, swappedFor && !swappedIsBlue);
    if (flags & sprite_flags::kPersonalNameTag) drawNameTag(displayObject, x, y, true, swappedFor && swappedIsBlue);
}

}  // namespace

DisplayHookTargets& displayHookTargets() {
    static DisplayHookTargets targets;
    return targets;
}

void onDisplayWideLine(HostAddr displayObject, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                       uint32_t width) noexcept {
    onLine(LineCall{display::kSlotWideLine, displayObject, {x1, y1, x2, y2}, colour, width});
}

void onDisplayThinLine(HostAddr displayObject, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                       uint32_t colour) noexcept {
    onLine(LineCall{display::kSlotThinLine, displayObject, {x1, y1, x2, y2}, colour, 0});
}

void onDisplaySprite(HostAddr displayObject, int32_t x, int32_t y, uint32_t flags, uint32_t sprite) noexcept {
    const HostAddr host = displayHookTargets().sprite;
    bool hostCalled = false;
    try {
        flushLineBatch();
        if (!(flags & sprite_flags::kModuleMarks)) {
            hostCalled = true;
            hostCalls().callDisplaySprite(host, displayObject, x, y, flags, sprite);
            return;
        }
        const uint32_t plain = flags & ~sprite_flags::kModuleMarks;
        const bool gold = flags & sprite_flags::kGoldGhost;
        const bool blue = flags & sprite_flags::kBlueGhost;
        if (!gold && !blue) {
            hostCalled = true;
            hostCalls().callDisplaySprite(host, displayObject, x, y, plain, sprite);
            drawExtras(displayObject, x, y, flags, false, false);
            return;
        }
        const GhostGraphics& graphics = ghostGraphics(!gold);
        const OpacityTable* table = graphics.builtFor(displayObject) ? graphics.levelTable(graphics.level) : nullptr;
        TranslucencySwap swap(displayObject, table ? table->data() : nullptr);
        hostCalled = true;
        hostCalls().callDisplaySprite(host, displayObject, x, y, plain | sprite_flags::kTranslucent, sprite);
        drawExtras(displayObject, x, y, flags, swap.swapped(), !gold);
    } catch (...) {
    }
    if (hostCalled) return;
    try {
        hostCalls().callDisplaySprite(host, displayObject, x, y, flags & ~sprite_flags::kModuleMarks, sprite);
    } catch (...) {
    }
}

void onDisplayFrameEnd(HostAddr displayObject) noexcept {
    try {
        // Lines still waiting belong to this frame: draw them before it is shown.
        flushLineBatch();
        drawGapMessage(displayObject);
    } catch (...) {
    }
    try {
        hostCalls().callDisplayFrameEnd(displayHookTargets().frameEnd, displayObject);
    } catch (...) {
    }
}

}  // namespace tarvek
