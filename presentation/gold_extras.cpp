#include "presentation/gold_extras.h"

#include <cmath>
#include <optional>

#include "host/host_context.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "presentation/bitmap_descriptor.h"
#include "presentation/display_access.h"
#include "presentation/ghost_graphics.h"
#include "presentation/name_tags.h"
#include "presentation/render_tags.h"
#include "presentation/translucency_swap.h"
#include "race/ghost_drawing.h"
#include "race/race_type.h"

namespace tarvek {
namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

int32_t wrappingAdd(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }

void drawCrown(HostAddr display, HostAddr bitmapRoutine, int32_t x, int32_t y, bool tableAlreadySwapped) {
    const GhostGraphicsCache& cache = ghostGraphicsCache();
    if (!cache.crown.builtFor(display) || !cache.crown.sprites) return;
    const GhostDrawState& state = ghostDrawState(false);
    const CrownPlacement& placement = state.crown;
    const CrownOffset offset = crownOffset(placement.anchor, placement.distance, placement.headShift);
    // The crown fades with the ghost only once the fade has begun; at level 0 it stays opaque.
    const GhostGraphics& gold = ghostGraphics(false);
    uint32_t flags = 0;
    std::optional<TranslucencySwap> swap;
    if (state.fadeLevel != 0 && gold.builtFor(display)) {
        if (tableAlreadySwapped) {
            flags = sprite_flags::kTranslucent;
        } else {
            const OpacityTable* table = gold.levelTable(state.fadeLevel);
            swap.emplace(display, table ? table->data() : nullptr);
            if (swap->swapped()) flags = sprite_flags::kTranslucent;
        }
    }
    HostMemory& memory = hostMemory();
    const CrownSprite& sprite = cache.crown.sprites->sprite[offset.sprite];
    const BitmapDescriptor descriptor =
        describeBitmap(memory.addressOf(sprite.data(), sprite.size()), kCrownSpriteSide, kCrownSpriteSide, kCrownSpriteSide);
    const HostAddr bitmap = memory.addressOf(descriptor.words.data(), sizeof descriptor.words);
    if (bitmap == 0 || descriptor.words[2] == 0) return;
    hostCalls().callDisplayBitmap(bitmapRoutine, display,
                                  BitmapDraw{wrappingAdd(x, offset.dx), wrappingAdd(y, offset.dy), bitmap, 0, 0,
                                             kCrownSpriteSide, kCrownSpriteSide, flags});
}

}  // namespace

CrownOffset crownOffset(uint32_t anchor, int32_t distance, int32_t headShift) {
    const double theta = static_cast<double>(anchor % 65536) * kTwoPi / 65536.0;
    const double sine = std::sin(theta);
    const double cosine = std::cos(theta);
    CrownOffset offset;
    offset.dx = static_cast<int32_t>(std::llround(65536.0 * (distance * sine - headShift * cosine)));
    offset.dy = static_cast<int32_t>(std::llround(65536.0 * (-headShift * sine - distance * cosine)));
    offset.sprite = ((anchor + 0x400u) / 0x800u) % kCrownSpriteCount;
    return offset;
}

void drawGoldExtras(HostAddr display, int32_t x, int32_t y, bool tableAlreadySwapped) {
    const HostAddr bitmapRoutine = displayRoutine(display, host_layout::display_table::kBitmapDraw);
    if (bitmapRoutine == 0) return;
    if (settings().worldRecordCrown && !raceType().isBungeeRace) drawCrown(display, bitmapRoutine, x, y, tableAlreadySwapped);
    drawNameTag(display, x, y, false, tableAlreadySwapped);
}

}  // namespace tarvek
