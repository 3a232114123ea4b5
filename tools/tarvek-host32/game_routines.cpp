#include "tools/tarvek-host32/game_routines.h"

#include "host/host_layout.h"

// GCC's i386 conventions name the game's register use: thiscall puts the object in ECX,
// regparm(1) the first argument in EAX; stdcall removes the stack arguments.
#define GAME_THISCALL __attribute__((thiscall))
#define GAME_STDCALL __attribute__((stdcall))
#define GAME_EAX __attribute__((regparm(1)))

namespace tarvek::host32 {
namespace {

namespace image = host_layout::image;

GameRecord record;

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

void layOutGameRoutines(sim::AddressSpace& space, HostAddr base) {
    record = GameRecord{};
    writeJump(space, base + image::kWormHandleMessage, addressOf(&wormHandleMessage));
    writeJump(space, base + image::kLoadLandDat, addressOf(&loadLandDat));
    writeJump(space, base + image::kLandscapeInitBorders, addressOf(&initBorders));
    writeJump(space, base + image::kDrawWorm, addressOf(&drawWorm));
    writeJump(space, base + image::kDrawRope, addressOf(&drawRope));
}

}  // namespace tarvek::host32
