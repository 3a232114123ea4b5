#include "tools/tarvek-host32/game_routines.h"

#include <mutex>
#include <utility>

#include "host/host_layout.h"

// GCC's i386 conventions name the game's register use: thiscall puts the object in ECX,
// regparm(1) the first argument in EAX; stdcall removes the stack arguments.
#define GAME_THISCALL __attribute__((thiscall))
#define GAME_STDCALL __attribute__((stdcall))
#define GAME_EAX __attribute__((regparm(1)))

extern "C" void host32ChatSend();

namespace tarvek::host32 {
namespace {

namespace image = host_layout::image;

GameRecord record;
std::mutex chatMutex;
std::vector<std::string> chatPrints;

// Entered from the module's code: nothing may leave them as an exception.
void GAME_THISCALL wormHandleMessage(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) noexcept {
    ++record.wormMessages;
}

uint32_t GAME_THISCALL loadLandDat(uint32_t) noexcept {
    ++record.mapLoads;
    return 1;
}

void GAME_THISCALL initBorders(uint32_t, int32_t, int32_t, int32_t, int32_t) noexcept { ++record.borderInits; }

void GAME_EAX drawWorm(uint32_t) noexcept { ++record.wormDraws; }

void GAME_STDCALL drawRope(uint32_t, uint32_t, uint32_t) noexcept { ++record.ropeDraws; }

void GAME_STDCALL chatPrint(uint32_t, uint32_t, const char* text, uint32_t) noexcept {
    try {
        std::lock_guard<std::mutex> lock(chatMutex);
        chatPrints.emplace_back(text ? text : "");
    } catch (...) {
        // A line lost to memory exhaustion is missing from the transcript, nothing more.
    }
}

template <typename Function>
HostAddr addressOf(Function* function) {
    return static_cast<HostAddr>(reinterpret_cast<uintptr_t>(function));
}

void writeJump(sim::AddressSpace& space, HostAddr at, HostAddr to) {
    space.writeU8(at, 0xE9);
    space.writeU32(at + 1, to - (at + 5));
}

}  // namespace

GameRecord& gameRecord() { return record; }

std::vector<std::string> takeChatPrints() {
    std::lock_guard<std::mutex> lock(chatMutex);
    return std::exchange(chatPrints, {});
}

void layOutGameRoutines(sim::AddressSpace& space, HostAddr base) {
    record = GameRecord{};
    takeChatPrints();
    writeJump(space, base + image::kWormHandleMessage, addressOf(&wormHandleMessage));
    writeJump(space, base + image::kLoadLandDat, addressOf(&loadLandDat));
    writeJump(space, base + image::kLandscapeInitBorders, addressOf(&initBorders));
    writeJump(space, base + image::kDrawWorm, addressOf(&drawWorm));
    writeJump(space, base + image::kDrawRope, addressOf(&drawRope));
    writeJump(space, base + image::kChatPrint, addressOf(&chatPrint));
    writeJump(space, base + image::kChatSend, addressOf(&host32ChatSend));
}

}  // namespace tarvek::host32

extern "C" void host32RecordChatSend(uint32_t, uint32_t) noexcept { ++tarvek::host32::gameRecord().chatSends; }
