#include "presentation/gap_overlay.h"

#include <algorithm>
#include <array>

#include "host/host_context.h"
#include "host/host_layout.h"
#include "presentation/bitmap_descriptor.h"
#include "presentation/display_access.h"
#include "presentation/gap_message.h"
#include "presentation/ghost_graphics.h"
#include "presentation/race_feedback.h"
#include "race/frame_driver.h"

namespace tarvek {
namespace {

namespace layout = host_layout;

constexpr uint32_t kCanvasBytes = kGapCanvasWidth * kGapCanvasHeight;
constexpr uint32_t kMarginX = 5;  // (w + 10) x (h + 11): five pixels around, one more below
constexpr uint32_t kMarginTop = 5;
constexpr uint32_t kBoxExtraWidth = 10;
constexpr uint32_t kBoxExtraHeight = 11;
constexpr uint32_t kMessageFlags = 0x00100000;

struct GapBitmap {
    std::array<uint8_t, kCanvasBytes> canvas{};
    std::array<uint8_t, kCanvasBytes> box{};  // stride kGapCanvasWidth
    std::array<char, 128> text{};
    int32_t renderedSize[2] = {0, 0};
    BitmapDescriptor canvasBitmap;
    BitmapDescriptor boxBitmap;
    uint64_t sequence = 0;
    HostAddr display = 0;
    bool tried = false;  // rendered (or found not to fit) for this sequence and display
    bool fits = false;
    uint32_t width = 0;
    uint32_t height = 0;
};

GapBitmap& gapBitmap() {
    static GapBitmap bitmap;
    return bitmap;
}

uint32_t styleFor(uint32_t status) {
    if (status == race_status::kBehind) return kGapStyleBehind;
    if (status == race_status::kAhead) return kGapStyleAhead;
    return kGapStyleEven;
}

// Renders the message into the box bitmap; false when it cannot be rendered or does not fit.
bool renderMessage(GapBitmap& out, HostAddr display, const GapMessage& message, uint8_t background) {
    HostMemory& memory = hostMemory();
    const HostAddr textRoutine = displayRoutine(display, host_layout::display_table::kTextDraw);
    if (textRoutine == 0) return false;
    out.canvas.fill(0);
    out.text = message.text;
    out.text.back() = 0;
    out.canvasBitmap = describeBitmap(memory.addressOf(out.canvas.data(), out.canvas.size()), kGapCanvasWidth,
                                      kGapCanvasWidth, kGapCanvasHeight);
    const TextDraw draw{styleFor(message.status),
                        memory.addressOf(out.canvasBitmap.words.data(), sizeof out.canvasBitmap.words),
                        0,
                        0,
                        memory.addressOf(out.text.data(), out.text.size()),
                        memory.addressOf(&out.renderedSize[0], 4),
                        memory.addressOf(&out.renderedSize[1], 4)};
    if (draw.bitmap == 0 || draw.text == 0 || draw.outWidth == 0 || draw.outHeight == 0) return false;
    if (hostCalls().callDisplayText(textRoutine, display, draw) <= 0) return false;

    uint32_t left = kGapCanvasWidth, top = kGapCanvasHeight, right = 0, bottom = 0;
    for (uint32_t y = 0; y < kGapCanvasHeight; ++y)
        for (uint32_t x = 0; x < kGapCanvasWidth; ++x)
            if (out.canvas[y * kGapCanvasWidth + x] != 0) {
                left = std::min(left, x);
                right = std::max(right, x + 1);
                top = std::min(top, y);
                bottom = std::max(bottom, y + 1);
            }
    if (right <= left) return false;
    const uint32_t textWidth = right - left;
    const uint32_t textHeight = bottom - top;
    if (textWidth + kBoxExtraWidth > kGapCanvasWidth || textHeight + kBoxExtraHeight > kGapCanvasHeight) return false;

    out.width = textWidth + kBoxExtraWidth;
    out.height = textHeight + kBoxExtraHeight;
    out.box.fill(0);
    for (uint32_t y = 0; y < out.height; ++y)
        std::fill_n(out.box.begin() + y * kGapCanvasWidth, out.width, background);
    for (uint32_t y = 0; y < textHeight; ++y)
        for (uint32_t x = 0; x < textWidth; ++x) {
            const uint8_t pixel = out.canvas[(top + y) * kGapCanvasWidth + left + x];
            if (pixel != 0) out.box[(kMarginTop + y) * kGapCanvasWidth + kMarginX + x] = pixel;
        }
    out.boxBitmap = describeBitmap(memory.addressOf(out.box.data(), out.box.size()), kGapCanvasWidth, out.width,
                                   out.height);
    return out.boxBitmap.words[2] != 0;
}

}  // namespace

void drawGapMessage(HostAddr display) {
    GapMessage message;
    if (!gapMessageBoard().activeFor(frameDriver().currentWorld, display, millisecondTick(), message)) return;
    const GhostGraphicsCache& cache = ghostGraphicsCache();
    if (!cache.cubeValid || !cache.cube) return;

    GapBitmap& bitmap = gapBitmap();
    if (!bitmap.tried || bitmap.sequence != message.sequence || bitmap.display != display) {
        bitmap.sequence = message.sequence;
        bitmap.display = display;
        bitmap.tried = true;
        bitmap.fits = renderMessage(bitmap, display, message, (*cache.cube)[cubeIndex(0, 0, 0)]);
    }
    if (!bitmap.fits) return;

    const auto surface = displaySurface(display);
    const auto scroll = displayScroll(display);
    const HostAddr bitmapRoutine = displayRoutine(display, host_layout::display_table::kBitmapDraw);
    if (!surface || !scroll || bitmapRoutine == 0) return;
    const int32_t areaWidth = surface->clipRight - surface->clipLeft;
    const int32_t areaHeight = surface->clipBottom - surface->clipTop;
    const int32_t width = std::min(static_cast<int32_t>(bitmap.width), areaWidth - 2);
    const int32_t height = std::min(static_cast<int32_t>(bitmap.height), areaHeight - 2);
    if (width <= 0 || height <= 0) return;
    const int32_t left = surface->clipLeft + (areaWidth - width) / 2;
    const int32_t top = surface->clipTop + 1;
    const HostAddr box = hostMemory().addressOf(bitmap.boxBitmap.words.data(), sizeof bitmap.boxBitmap.words);
    if (box == 0) return;
    const auto world = [](int32_t screen, int32_t scrollOffset) {
        return static_cast<int32_t>(static_cast<uint32_t>(int64_t{screen} - scrollOffset) << 16);
    };
    hostCalls().callDisplayBitmap(
        bitmapRoutine, display,
        BitmapDraw{world(left + width / 2, scroll->x), world(top + height / 2, scroll->y), box, 0, 0, width, height,
                   kMessageFlags});
}

}  // namespace tarvek
