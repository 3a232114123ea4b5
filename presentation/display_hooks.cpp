#include "presentation/display_hooks.h"

#include <optional>

#include "host/hook_table.h"
#include "host/host_context.h"
#include "host/host_layout.h"
#include "presentation/ghost_graphics.h"
#include "presentation/gap_overlay.h"
#include "presentation/gold_extras.h"
#include "presentation/line_batch.h"
#include "presentation/name_tags.h"
#include "presentation/render_tags.h"
#include "presentation/translucency_swap.h"
#include "race/ghost_drawing.h"

namespace tarvek {
namespace {

namespace table = host_layout::display_table;

// The host's line call as it came in.
struct LineCall {
    uint32_t entry = 0;  // class-table entry the host called: kLineDraw6 or kLineDraw5
    HostAddr display = 0;
    LineEnds ends;
    uint32_t colour = 0;
    uint32_t width = 0;  // kLineDraw6 only
};

uint32_t callHostLine(const LineCall& call, uint32_t colour) {
    const DisplayHookTargets& targets = displayHookTargets();
    const LineEnds& e = call.ends;
    if (call.entry == table::kLineDraw6)
        return hostCalls().callDisplayWideLine(targets.wideLine, call.display, e.x1, e.y1, e.x2, e.y2, colour,
                                               call.width);
    return hostCalls().callDisplayThinLine(targets.thinLine, call.display, e.x1, e.y1, e.x2, e.y2, colour);
}

// hostCalled: the host routine has run for this call, or the batch took the line over (its
// flush calls the host routine for it).
uint32_t handleLine(const LineCall& call, bool& hostCalled) {
    if (!isLineTag(call.colour)) {
        flushLineBatch();
        hostCalled = true;
        return callHostLine(call, call.colour);
    }
    const LineTag tag = decodeLineTag(call.colour);
    if (!ghostGraphics(tag.isBlue).builtFor(call.display)) {
        flushLineBatch();
        hostCalled = true;
        return callHostLine(call, tag.colour);
    }
    hostCalled = true;
    const uint8_t last = call.entry == table::kLineDraw6 ? static_cast<uint8_t>(call.width) : tag.colour;
    batchGhostLine(LineBatchKey{call.display, tag.isBlue, tag.level, tag.segments, tag.polyline},
                   BatchedLine{call.display, call.ends, tag.colour, last, call.entry});
    return 0;
}

uint32_t onLine(const LineCall& call) noexcept {
    bool hostCalled = false;
    try {
        return handleLine(call, hostCalled);
    } catch (...) {
    }
    if (hostCalled) return 0;
    try {
        // Never hand the host a tag word as a colour.
        return callHostLine(call, isLineTag(call.colour) ? call.colour & 0xFF : call.colour);
    } catch (...) {
        return 0;
    }
}

void drawExtras(HostAddr displayObject, int32_t x, int32_t y, uint32_t flags, bool swapped, bool swappedIsBlue) {
    if (flags & sprite_flags::kGoldExtras) drawGoldExtras(displayObject, x, y, swapped && !swappedIsBlue);
    if (flags & sprite_flags::kPersonalNameTag) drawNameTag(displayObject, x, y, true, swapped && swappedIsBlue);
}

uint32_t drawSprite(HostAddr displayObject, int32_t x, int32_t y, uint32_t flags, uint32_t sprite, bool& hostCalled) {
    const HostAddr host = displayHookTargets().sprite;
    flushLineBatch();
    if (!(flags & sprite_flags::kModuleMarks)) {
        hostCalled = true;
        return hostCalls().callDisplaySprite(host, displayObject, x, y, flags, sprite);
    }
    const uint32_t plain = flags & ~sprite_flags::kModuleMarks;
    const bool gold = flags & sprite_flags::kGoldGhost;
    const bool blue = flags & sprite_flags::kBlueGhost;
    if (!gold && !blue) {
        hostCalled = true;
        const uint32_t result = hostCalls().callDisplaySprite(host, displayObject, x, y, plain, sprite);
        drawExtras(displayObject, x, y, flags, false, false);
        return result;
    }
    const bool isBlue = !gold;
    const GhostGraphics& graphics = ghostGraphics(isBlue);
    const OpacityTable* levelTable =
        graphics.builtFor(displayObject) ? graphics.levelTable(ghostDrawState(isBlue).fadeLevel) : nullptr;
    TranslucencySwap swap(displayObject, levelTable ? levelTable->data() : nullptr);
    hostCalled = true;
    const uint32_t result =
        hostCalls().callDisplaySprite(host, displayObject, x, y, plain | sprite_flags::kTranslucent, sprite);
    drawExtras(displayObject, x, y, flags, swap.swapped(), isBlue);
    return result;
}

}  // namespace

DisplayHookTargets& displayHookTargets() {
    static DisplayHookTargets targets{
        tarvekPreviousTargets[TARVEK_HOOK_DISPLAY_LINE6], tarvekPreviousTargets[TARVEK_HOOK_DISPLAY_LINE5],
        tarvekPreviousTargets[TARVEK_HOOK_DISPLAY_SPRITE], tarvekPreviousTargets[TARVEK_HOOK_DISPLAY_OVERLAY]};
    return targets;
}

uint32_t onDisplayWideLine(HostAddr displayObject, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                           uint32_t width) noexcept {
    return onLine(LineCall{table::kLineDraw6, displayObject, {x1, y1, x2, y2}, colour, width});
}

uint32_t onDisplayThinLine(HostAddr displayObject, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                           uint32_t colour) noexcept {
    return onLine(LineCall{table::kLineDraw5, displayObject, {x1, y1, x2, y2}, colour, 0});
}

uint32_t onDisplaySprite(HostAddr displayObject, int32_t x, int32_t y, uint32_t flags, uint32_t sprite) noexcept {
    bool hostCalled = false;
    try {
        return drawSprite(displayObject, x, y, flags, sprite, hostCalled);
    } catch (...) {
    }
    if (hostCalled) return 0;
    try {
        return hostCalls().callDisplaySprite(displayHookTargets().sprite, displayObject, x, y,
                                             flags & ~sprite_flags::kModuleMarks, sprite);
    } catch (...) {
        return 0;
    }
}

void onDisplayOverlay(HostAddr displayObject) noexcept {
    try {
        // Lines still waiting belong to this frame: draw them before it is shown.
        flushLineBatch();
        drawGapMessage(displayObject);
    } catch (...) {
    }
}

}  // namespace tarvek
