#include "presentation/turn_timer.h"

#include <array>
#include <optional>

#include "host/host_context.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "presentation/palette.h"
#include "presentation/timer_remap.h"
#include "race/frame_driver.h"
#include "race/race_state.h"
#include "race/race_type.h"

namespace tarvek {
namespace {

namespace layout = host_layout;

constexpr uint32_t kRedrawRequest = 0xFFFFFFFF;
constexpr uint32_t kRendererRepaint = layout::turn_timer_draw::kRepaintFrames;
constexpr uint32_t kHighlightSelector = 8;
constexpr uint32_t kMaxTeam = 8;
constexpr uint8_t kMaxColourIndex = 9;

struct TimerColours {
    // Colour A: what the timer was last asked to show.
    HostAddr lastTimer = 0;
    uint8_t lastColourIndex = 0;
    uint32_t lastState = 0;
    // Colour B: the team colour entry swapped around the host's box drawing.
    HostAddr swappedEntry = 0;
    uint32_t savedColour = 0;
    bool swapPending = false;
    // Drawing hook.
    HostAddr lastRenderer = 0;
    uint32_t lastRenderState = 0;
    bool remapPending = false;  // between the two halves of the drawing hook
    TimerRemap remap{};
    Palette remapPalette;
    HostAddr remapDisplay = 0;
    bool remapReady = false;
};

TimerColours& colours() {
    static TimerColours state;
    return state;
}

bool isTimer(const HostMemory& memory, HostAddr timer) {
    return memory.readU32(timer) == hostBase() + layout::image::kTurnTimerClassTable;
}

std::optional<uint8_t> teamColourIndex(const HostMemory& memory, HostAddr world, uint32_t team) {
    const auto setup = memory.readU32(world + layout::world::kGameState);
    if (!setup || *setup == 0) return std::nullopt;
    const HostAddr at = *setup + team * layout::game_state::kTeamRecordSize - layout::game_state::kTeamColourBack;
    const auto index = memory.readU8(at);
    if (!index || *index > kMaxColourIndex) return std::nullopt;
    return index;
}

void undoPendingSwap() {
    TimerColours& state = colours();
    if (!state.swapPending) return;
    state.swapPending = false;
    hostMemory().writeIfWritable(state.swappedEntry, &state.savedColour, 4);
}

// The remap for the display the renderer draws on; false when it cannot be had.
bool remapReadyFor(HostAddr renderer, bool& justBuilt) {
    TimerColours& state = colours();
    const HostMemory& memory = hostMemory();
    const auto display = memory.readU32(renderer + layout::turn_timer_draw::kDisplay);
    if (!display || *display == 0 || *display != frameDriver().lastWatchedPointer) return false;
    Palette palette;
    if (!readDisplayPalette(memory, *display, palette)) return false;
    if (state.remapReady && state.remapDisplay == *display && state.remapPalette.bytes == palette.bytes) return true;
    buildTimerRemap(palette, state.remap);
    state.remapPalette = palette;
    state.remapDisplay = *display;
    state.remapReady = true;
    justBuilt = true;
    return true;
}

void remapBitmap(HostAddr bitmap) {
    namespace b = layout::bitmap;
    HostMemory& memory = hostMemory();
    uint32_t words[b::kHeight / 4 + 1];
    if (!memory.read(bitmap, words, sizeof words) || words[b::kClassTable / 4] != hostBase() + layout::image::kBitmapClassTable)
        return;
    const HostAddr pixels = words[b::kPixels / 4];
    const uint32_t stride = words[b::kStride / 4];
    const uint32_t width = words[b::kWidth / 4];
    const uint32_t height = words[b::kHeight / 4];
    if (width < 1 || width > layout::turn_timer_draw::kMaxBitmapSide || height < 1 || height > layout::turn_timer_draw::kMaxBitmapSide ||
        stride > layout::turn_timer_draw::kMaxBitmapStride || stride < width)
        return;
    static std::array<uint8_t, layout::turn_timer_draw::kMaxBitmapSide * layout::turn_timer_draw::kMaxBitmapSide> rows;
    const auto range = memory.verify(pixels, size_t{height - 1} * stride + width, true);
    if (!range || !memory.readRows(*range, pixels, stride, width, height, rows.data())) return;
    const TimerRemap& remap = colours().remap;
    for (uint32_t i = 0; i < width * height; ++i) rows[i] = remap[rows[i]];
    memory.writeRows(*range, pixels, stride, width, height, rows.data());
}

}  // namespace

uint32_t turnTimerState() {
    if (!frameDriver().feedbackAllowed) return 0;
    const uint32_t value = raceState().turnTimerColour;
    return value == 1 || value == 2 ? value : 0;
}

void turnTimerColourA(HostAddr timer) noexcept {
    try {
        undoPendingSwap();
        HostMemory& memory = hostMemory();
        if (!isTimer(memory, timer)) return;
        const auto world = memory.readU32(timer + layout::turn_timer::kWorld);
        const auto team = memory.readU32(timer + layout::turn_timer::kTeam);
        if (!world || !team || *world == 0 || !worldAllowsFeedback(*world)) return;
        const auto colourIndex = teamColourIndex(memory, *world, *team);
        if (!colourIndex) return;
        TimerColours& state = colours();
        const uint32_t timerState = turnTimerState();
        if (timer == state.lastTimer && *colourIndex == state.lastColourIndex && timerState == state.lastState) return;
        memory.writeIfWritable(timer + layout::turn_timer::kRedraw, &kRedrawRequest, 4);
        state.lastTimer = timer;
        state.lastColourIndex = *colourIndex;
        state.lastState = timerState;
    } catch (...) {
    }
}

void turnTimerColourBBefore(HostAddr timer, uint32_t team) noexcept {
    try {
        undoPendingSwap();
        HostMemory& memory = hostMemory();
        const uint32_t timerState = turnTimerState();
        if (!settings().turnTimerColorEnabled || team < 1 || team > kMaxTeam || timerState == 0) return;
        if (!isTimer(memory, timer) || memory.readU32(timer + layout::turn_timer::kTeam) != team) return;
        const auto world = memory.readU32(timer + layout::turn_timer::kWorld);
        if (!world || *world == 0) return;
        const auto colourIndex = teamColourIndex(memory, *world, team);
        if (!colourIndex) return;
        const HostAddr entry = *world + layout::world::kTeamColours + *colourIndex * 4u;
        const HostAddr source = *world + layout::world::kTeamColours + (timerState == 2 ? 0u : 8u);
        const auto saved = memory.readU32(entry);
        const auto replacement = memory.readU32(source);
        if (!saved || !replacement || !memory.writeIfWritable(entry, &*replacement, 4)) return;
        TimerColours& state = colours();
        state.swappedEntry = entry;
        state.savedColour = *saved;
        state.swapPending = true;
    } catch (...) {
    }
}

void turnTimerColourBAfter() noexcept {
    try {
        undoPendingSwap();
    } catch (...) {
    }
}

void turnTimerDrawing(HostAddr object, uint32_t& colour) noexcept {
    TimerColours& state = colours();
    state.remapPending = false;
    try {
        uint32_t timerState = turnTimerState();
        const RaceType& race = raceType();
        if (!settings().turnTimerColorEnabled || race.isBungeeRace || (race.isBigRR && !race.isTrickRace))
            timerState = 0;
        bool justBuilt = false;
        if (timerState == 1 && !remapReadyFor(object, justBuilt)) timerState = 0;
        if (object != state.lastRenderer || timerState != state.lastRenderState || justBuilt) {
            hostMemory().writeIfWritable(object + layout::turn_timer_draw::kRepaint, &kRendererRepaint, 4);
            state.lastRenderer = object;
            state.lastRenderState = timerState;
        }
        if (timerState != 0) colour = (colour == 7 || colour == 8) ? kHighlightSelector : 0;
        state.remapPending = timerState == 1;
    } catch (...) {
        state.remapPending = false;
    }
}

void turnTimerDrawingDone(HostAddr bitmap) noexcept {
    TimerColours& state = colours();
    if (!state.remapPending || bitmap == 0) return;
    state.remapPending = false;
    try {
        remapBitmap(bitmap);
    } catch (...) {
    }
}

void resetTurnTimerColours() { colours() = TimerColours{}; }

}  // namespace tarvek
