#include "tools/tarvek-host32/game_calls.h"

#include "host/host_layout.h"
#include "sim/host_image_layout.h"

extern "C" uint32_t host32CallChatSend(uint32_t target, uint32_t object, uint32_t text);

namespace tarvek::host32 {
namespace {

namespace image = host_layout::image;

// The game's register use, as GCC names it (see game_routines.cpp).
using WormMessageRoutine = void(__attribute__((thiscall))*)(uint32_t worm, uint32_t sender, uint32_t type,
                                                            uint32_t size, uint32_t data);
using LoadLandDatRoutine = uint32_t(__attribute__((thiscall))*)(uint32_t landscape);
using InitBordersRoutine = void(__attribute__((thiscall))*)(uint32_t landscape, int32_t left, int32_t right,
                                                            int32_t top, int32_t bottom);

template <typename Routine>
Routine routineAt(HostAddr address) {
    return reinterpret_cast<Routine>(static_cast<uintptr_t>(address));
}

}  // namespace

void GameCalls::wormMessage(HostAddr worm, uint32_t type) const {
    const HostAddr handler = space_.readU32(base_ + image::kWormHandleMessageEntry);
    routineAt<WormMessageRoutine>(handler)(worm, 0, type, 0, 0);
}

void GameCalls::loadLandDat(HostAddr landscape) const {
    routineAt<LoadLandDatRoutine>(sim::callTarget(space_, base_, image::kLoadLandDatCallSite))(landscape);
}

void GameCalls::initBorders(HostAddr landscape, int32_t left, int32_t right, int32_t top, int32_t bottom) const {
    const HostAddr entry = space_.readU32(base_ + image::kLandscapeInitBordersEntry);
    routineAt<InitBordersRoutine>(entry)(landscape, left, right, top, bottom);
}

uint32_t GameCalls::chatSend(HostAddr chatObject, HostAddr text) const {
    return host32CallChatSend(sim::callTarget(space_, base_, image::kChatSendCallSite), chatObject, text);
}

}  // namespace tarvek::host32
