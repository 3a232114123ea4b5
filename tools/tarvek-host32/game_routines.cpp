#include "tools/tarvek-host32/game_routines.h"

#include <mutex>
#include <utility>

#include "host/host_layout.h"
#include "sim/host_image_layout.h"
#include "sim/sim_display_routines.h"
#include "sim/sim_timer_routines.h"
#include "sim/sim_worm_drawing.h"

// GCC's i386 conventions name the game's register use: thiscall puts the object in ECX,
// regparm(1) the first argument in EAX; stdcall removes the stack arguments.
#define GAME_THISCALL __attribute__((thiscall))
#define GAME_STDCALL __attribute__((stdcall))
#define GAME_EAX __attribute__((regparm(1)))

extern "C" {
void host32ChatSend();
void host32TimerUpdate();
void host32TimerTeam();
void host32TimerRender();
tarvek::host32::GameRegisters host32RoutineEntry[3];
tarvek::host32::GameRegisters host32RoutineExit[3];
}

namespace tarvek::host32 {
namespace {

namespace image = host_layout::image;
namespace table = host_layout::display_table;

GameRecord record;
sim::AddressSpace* space = nullptr;
HostAddr gameBase = 0;
std::mutex chatMutex;
std::vector<std::string> chatPrints;
std::vector<TextDrawn> textsDrawn;

// Entered from the module's code: nothing may leave them as an exception. A body that fails
// is counted; the game would have crashed there.
template <typename Body>
auto guarded(Body&& body, decltype(body()) fallback) noexcept {
    try {
        return body();
    } catch (...) {
        ++record.failures;
        return fallback;
    }
}

void GAME_THISCALL wormHandleMessage(uint32_t worm, uint32_t, uint32_t type, uint32_t, uint32_t) noexcept {
    ++record.wormMessages;
    // The game's own drawing pass: the worm and, while it hangs on one, its rope.
    if (type == host_layout::message::kDraw)
        guarded([&] { return sim::hostDrawLiveWorm(*space, worm), 0; }, 0);
}

uint32_t GAME_THISCALL loadLandDat(uint32_t) noexcept {
    ++record.mapLoads;
    return 1;
}

void GAME_THISCALL initBorders(uint32_t, int32_t, int32_t, int32_t, int32_t) noexcept { ++record.borderInits; }

void GAME_EAX drawWorm(uint32_t wormImage) noexcept {
    ++record.wormDraws;
    guarded([&] { return sim::hostDrawWorm(*space, wormImage), 0; }, 0);
}

void GAME_STDCALL drawRope(uint32_t worm, uint32_t colourEntry9, uint32_t colourEntry7) noexcept {
    ++record.ropeDraws;
    guarded([&] { return sim::hostDrawRope(*space, worm, colourEntry9, colourEntry7), 0; }, 0);
}

void GAME_STDCALL chatPrint(uint32_t, uint32_t, const char* text, uint32_t) noexcept {
    try {
        std::lock_guard<std::mutex> lock(chatMutex);
        chatPrints.emplace_back(text ? text : "");
    } catch (...) {
        // A line lost to memory exhaustion is missing from the transcript, nothing more.
    }
}

// The display's routines, members of the display with their arguments on the stack.
int32_t GAME_THISCALL displayText(uint32_t display, uint32_t style, uint32_t bitmap, int32_t x, int32_t y,
                                  uint32_t text, uint32_t outWidth, uint32_t outHeight) noexcept {
    return guarded(
        [&] {
            const TextDraw draw{style, bitmap, x, y, text, outWidth, outHeight};
            std::string drawn;
            for (HostAddr at = text; drawn.size() < 256; ++at) {
                uint8_t c = 0;
                space->read(at, &c, 1);
                if (c == 0) break;
                drawn.push_back(static_cast<char>(c));
            }
            textsDrawn.push_back({style, std::move(drawn)});
            return sim::hostDisplayText(*space, display, draw);
        },
        0);
}

uint32_t GAME_THISCALL displayWideLine(uint32_t display, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                       uint32_t colour, uint32_t width) noexcept {
    ++record.displayCalls;
    return guarded([&] { return sim::hostDisplayLine(*space, display, x1, y1, x2, y2, colour, width), 1u; }, 0u);
}

uint32_t GAME_THISCALL displayThinLine(uint32_t display, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                       uint32_t colour) noexcept {
    ++record.displayCalls;
    return guarded([&] { return sim::hostDisplayLine(*space, display, x1, y1, x2, y2, colour, 1), 1u; }, 0u);
}

uint32_t GAME_THISCALL displaySprite(uint32_t display, int32_t x, int32_t y, uint32_t flags, uint32_t sprite) noexcept {
    ++record.displayCalls;
    return guarded([&] { return sim::hostDisplaySprite(*space, display, x, y, flags, sprite), 1u; }, 0u);
}

void GAME_THISCALL displayBitmap(uint32_t display, int32_t x, int32_t y, uint32_t bitmap, int32_t sourceX,
                                 int32_t sourceY, int32_t width, int32_t height, uint32_t flags) noexcept {
    ++record.displayCalls;
    const BitmapDraw draw{x, y, bitmap, sourceX, sourceY, width, height, flags};
    guarded([&] { return sim::hostDisplayBitmap(*space, display, draw), 0; }, 0);
}

void GAME_THISCALL displayFrameEnd(uint32_t) noexcept { ++record.framesEnded; }

template <typename Function>
HostAddr addressOf(Function* function) {
    return static_cast<HostAddr>(reinterpret_cast<uintptr_t>(function));
}

void writeJump(sim::AddressSpace& target, HostAddr at, HostAddr to) {
    target.writeU8(at, 0xE9);
    target.writeU32(at + 1, to - (at + 5));
}

}  // namespace

GameRecord& gameRecord() { return record; }

std::vector<std::string> takeChatPrints() {
    std::lock_guard<std::mutex> lock(chatMutex);
    return std::exchange(chatPrints, {});
}

std::vector<TextDrawn> takeTextsDrawn() { return std::exchange(textsDrawn, {}); }

const GameRegisters& timerRoutineEntry(TimerRoutine routine) { return host32RoutineEntry[static_cast<int>(routine)]; }
const GameRegisters& timerRoutineExit(TimerRoutine routine) { return host32RoutineExit[static_cast<int>(routine)]; }

void layOutGameRoutines(sim::AddressSpace& target, HostAddr base) {
    record = GameRecord{};
    space = &target;
    gameBase = base;
    takeChatPrints();
    textsDrawn.clear();
    writeJump(target, base + image::kWormHandleMessage, addressOf(&wormHandleMessage));
    writeJump(target, base + image::kLoadLandDat, addressOf(&loadLandDat));
    writeJump(target, base + image::kLandscapeInitBorders, addressOf(&initBorders));
    writeJump(target, base + image::kDrawWorm, addressOf(&drawWorm));
    writeJump(target, base + image::kDrawRope, addressOf(&drawRope));
    writeJump(target, base + image::kChatPrint, addressOf(&chatPrint));
    writeJump(target, base + image::kChatSend, addressOf(&host32ChatSend));
    writeJump(target, base + image::kTurnTimerColourA, addressOf(&host32TimerUpdate));
    writeJump(target, base + image::kTurnTimerColourB, addressOf(&host32TimerTeam));
    writeJump(target, base + image::kTurnTimerDraw, addressOf(&host32TimerRender));
    writeJump(target, sim::hostDisplayRoutine(base, table::kTextDraw), addressOf(&displayText));
    writeJump(target, sim::hostDisplayRoutine(base, table::kLineDraw6), addressOf(&displayWideLine));
    writeJump(target, sim::hostDisplayRoutine(base, table::kLineDraw5), addressOf(&displayThinLine));
    writeJump(target, sim::hostDisplayRoutine(base, table::kSpriteDraw), addressOf(&displaySprite));
    writeJump(target, sim::hostDisplayRoutine(base, table::kBitmapDraw), addressOf(&displayBitmap));
    writeJump(target, sim::hostDisplayRoutine(base, table::kOverlay), addressOf(&displayFrameEnd));
}

}  // namespace tarvek::host32

extern "C" {

void host32RecordChatSend(uint32_t, uint32_t) noexcept { ++tarvek::host32::gameRecord().chatSends; }

// The turn-timer routines' work (entered through game_timer.S): (EAX, ECX, EDX, stack arguments).
uint32_t host32TimerUpdateBody(uint32_t eax, uint32_t ecx, uint32_t, const uint32_t*) noexcept {
    using namespace tarvek::host32;
    return guarded([&] { return tarvek::sim::hostTimerUpdate(*space, ecx), eax; }, eax);
}

uint32_t host32TimerTeamBody(uint32_t eax, uint32_t, uint32_t edx, const uint32_t*) noexcept {
    using namespace tarvek::host32;
    return guarded([&] { return tarvek::sim::hostTimerTeam(*space, eax, edx), eax; }, eax);
}

// (object, text, colour selector, 0, 0, out): the rendered bitmap.
uint32_t host32TimerRenderBody(uint32_t, uint32_t, uint32_t, const uint32_t* stack) noexcept {
    using namespace tarvek::host32;
    return guarded([&] { return tarvek::sim::hostTimerRender(*space, gameBase, stack[0], stack[1], stack[2], stack[5]); }, 0u);
}
}
