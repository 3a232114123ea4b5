#include "presentation/name_tags.h"

#include <algorithm>
#include <optional>

#include "host/host_context.h"
#include "host/host_layout.h"
#include "host/log.h"
#include "host/settings.h"
#include "presentation/display_access.h"
#include "presentation/ghost_graphics.h"
#include "presentation/render_tags.h"
#include "presentation/translucency_swap.h"
#include "race/ghost_drawing.h"

namespace tarvek {
namespace {

namespace display = host_layout::display;

struct InkBox {
    uint32_t left = kNameTagCanvasWidth;
    uint32_t top = kNameTagCanvasHeight;
    uint32_t right = 0;  // exclusive
    uint32_t bottom = 0;
    bool empty() const { return right <= left; }
};

InkBox inkBox(const std::array<uint8_t, kNameTagBytes>& canvas) {
    InkBox box;
    for (uint32_t y = 0; y < kNameTagCanvasHeight; ++y) {
        for (uint32_t x = 0; x < kNameTagCanvasWidth; ++x) {
            if (canvas[y * kNameTagCanvasWidth + x] == 0) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x + 1);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box;
}

int32_t wrappingAdd(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }

const std::string& tagText(bool isBlue) {
    const Settings& config = settings();
    return isBlue ? config.personalRecordPlayerName : config.worldRecordPlayerName;
}

}  // namespace

NameTagCache& nameTagCache(bool isBlue) {
    static NameTagCache caches[2];
    return caches[isBlue ? 1 : 0];
}

void dropGhostNameTags() {
    nameTagCache(false).built = false;
    nameTagCache(true).built = false;
}

void prepareNameTag(HostAddr displayObject, const std::string& text, NameTagCache& cache, const char* label) {
    if (text.empty() || cache.builtFor(displayObject)) return;
    HostMemory& memory = hostMemory();
    const HostAddr textRoutine = displayRoutine(displayObject, host_layout::display_table::kTextDraw);
    if (textRoutine == 0) return;
    cache.canvas.fill(0);
    cache.text.fill(0);
    std::copy_n(text.begin(), std::min(text.size(), cache.text.size() - 1), cache.text.begin());
    cache.canvasBitmap = describeBitmap(memory.addressOf(cache.canvas.data(), cache.canvas.size()),
                                        kNameTagCanvasWidth, kNameTagCanvasWidth, kNameTagCanvasHeight);
    const TextDraw draw{kNameTagTextStyle,
                        memory.addressOf(cache.canvasBitmap.words.data(), sizeof cache.canvasBitmap.words),
                        0,
                        0,
                        memory.addressOf(cache.text.data(), cache.text.size()),
                        memory.addressOf(&cache.renderedSize[0], 4),
                        memory.addressOf(&cache.renderedSize[1], 4)};
    if (draw.bitmap == 0 || draw.text == 0 || draw.outWidth == 0 || draw.outHeight == 0 ||
        cache.canvasBitmap.words[2] == 0)
        return;
    if (hostCalls().callDisplayText(textRoutine, displayObject, draw) <= 0) return;

    const InkBox box = inkBox(cache.canvas);
    if (box.empty()) return;
    cache.width = box.right - box.left;
    cache.height = box.bottom - box.top;
    for (uint32_t y = 0; y < cache.height; ++y)
        std::copy_n(cache.canvas.begin() + (box.top + y) * kNameTagCanvasWidth + box.left, cache.width,
                    cache.tag.begin() + y * cache.width);
    cache.tagBitmap = describeBitmap(memory.addressOf(cache.tag.data(), cache.tag.size()), cache.width, cache.width,
                                     cache.height);
    cache.display = displayObject;
    cache.built = true;
    logLine(std::string("prepared native-font ") + label + " name tag '" + text + "' (" + std::to_string(cache.width) +
            "x" + std::to_string(cache.height) + ")");
}

void drawNameTag(HostAddr displayObject, int32_t x, int32_t y, bool isBlue, bool tableAlreadySwapped) {
    const Settings& config = settings();
    if (!(isBlue ? config.personalRecordNameTag : config.worldRecordNameTag) || tagText(isBlue).empty()) return;
    const NameTagCache& cache = nameTagCache(isBlue);
    const GhostGraphics& graphics = ghostGraphics(isBlue);
    if (!cache.builtFor(displayObject) || !graphics.builtFor(displayObject)) return;
    const HostAddr bitmapRoutine = displayRoutine(displayObject, host_layout::display_table::kBitmapDraw);
    if (bitmapRoutine == 0) return;
    std::optional<TranslucencySwap> swap;
    if (!tableAlreadySwapped) {
        const OpacityTable* table = graphics.levelTable(ghostDrawState(isBlue).fadeLevel);
        swap.emplace(displayObject, table ? table->data() : nullptr);
        if (!swap->swapped()) return;
    }
    const int32_t offset = isBlue ? config.personalNameTagOffsetYPixels : config.nameTagOffsetYPixels;
    const HostAddr tag = hostMemory().addressOf(cache.tagBitmap.words.data(), sizeof cache.tagBitmap.words);
    if (tag == 0) return;
    hostCalls().callDisplayBitmap(bitmapRoutine, displayObject,
                                  BitmapDraw{x, wrappingAdd(y, offset * 65536), tag, 0, 0, static_cast<int32_t>(cache.width),
                                             static_cast<int32_t>(cache.height), sprite_flags::kTranslucent});
}

}  // namespace tarvek
