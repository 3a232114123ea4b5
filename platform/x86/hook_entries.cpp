// The DLL's entries behind the x86 thunks: each hands the host's values to the module's routine
// for the hook. Nothing escapes into the game: a failing routine loses only its own work, and the
// host's routine still runs.
#include <cstring>

#include "host/hook_table.h"
#include "module/hook_routines.h"
#include "platform/x86/thunk_entries.h"

namespace tarvek {
namespace {

const HookRoutines& routines() { return moduleHookRoutines(); }

// Between the two pieces of the map-source hook, on the thread that builds the landscape.
HostAddr mapSourceLandscape = 0;

template <typename Work>
void guarded(Work&& work) noexcept {
    try {
        work();
    } catch (...) {
        // The module skips its work for this call.
    }
}

// Class-table routines chain to the host themselves; when one fails before it could, the host's
// routine runs with the arguments the host passed.
template <size_t Count>
uint32_t throughRoutine(uint32_t (*routine)(HostAddr, uint32_t*), int id, uint32_t object,
                        uint32_t* arguments) noexcept {
    uint32_t original[Count];
    std::memcpy(original, arguments, sizeof original);
    try {
        if (routine) return routine(object, arguments);
    } catch (...) {
    }
    return tarvekCallHost(tarvekPreviousTargets[id], 0, object, original, Count);
}

}  // namespace
}  // namespace tarvek

using namespace tarvek;

extern "C" uint32_t tarvekChatEntry(uint32_t chatObject, uint32_t text) noexcept {
    uint32_t consumed = 0;
    guarded([&] {
        if (routines().chatCommand) consumed = routines().chatCommand(chatObject, text) != 0;
    });
    return consumed;
}

extern "C" void tarvekTimerColourAEntry(uint32_t ecx, uint32_t*) noexcept {
    guarded([&] {
        if (routines().timerColourA) routines().timerColourA(ecx);
    });
}

extern "C" void tarvekDisplayOverlayEntry(uint32_t ecx, uint32_t*) noexcept {
    guarded([&] {
        if (routines().displayOverlay) routines().displayOverlay(ecx);
    });
}

extern "C" void tarvekInitBordersEntry(uint32_t ecx, uint32_t* stackArguments) noexcept {
    guarded([&] {
        int32_t borders[4];
        std::memcpy(borders, stackArguments, sizeof borders);
        if (routines().initBordersEntered) routines().initBordersEntered(ecx, borders);
    });
}

extern "C" void tarvekMapSourceBefore(uint32_t, uint32_t ecx, uint32_t, uint32_t*) noexcept {
    mapSourceLandscape = ecx;
}

extern "C" void tarvekMapSourceAfter(uint32_t) noexcept {
    guarded([] {
        if (routines().mapSourceLoaded) routines().mapSourceLoaded(mapSourceLandscape);
    });
}

extern "C" void tarvekTimerColourBBefore(uint32_t eax, uint32_t, uint32_t edx, uint32_t*) noexcept {
    guarded([&] {
        if (routines().timerColourB) routines().timerColourB(eax, edx);
    });
}

extern "C" void tarvekTimerColourBAfter(uint32_t) noexcept {
    guarded([] {
        if (routines().timerColourBDone) routines().timerColourBDone();
    });
}

extern "C" void tarvekTimerDrawingBefore(uint32_t, uint32_t, uint32_t, uint32_t* stackArguments) noexcept {
    guarded([&] {
        if (routines().timerDrawing) routines().timerDrawing(stackArguments[0], stackArguments[2]);
    });
}

extern "C" void tarvekTimerDrawingAfter(uint32_t result) noexcept {
    guarded([&] {
        if (routines().timerDrawingDone) routines().timerDrawingDone(result);
    });
}

extern "C" uint32_t tarvekWormMessageEntry(uint32_t worm, uint32_t* stackArguments) noexcept {
    // The frame driver enters the host's handler first, so a failure after it must not repeat it.
    guarded([&] {
        if (routines().wormMessage)
            routines().wormMessage(worm, stackArguments[0], stackArguments[1], stackArguments[2], stackArguments[3]);
    });
    return 0;
}

extern "C" uint32_t tarvekDisplayLine6Entry(uint32_t display, uint32_t* stackArguments) noexcept {
    return throughRoutine<6>(routines().displayLine6, TARVEK_HOOK_DISPLAY_LINE6, display, stackArguments);
}

extern "C" uint32_t tarvekDisplayLine5Entry(uint32_t display, uint32_t* stackArguments) noexcept {
    return throughRoutine<5>(routines().displayLine5, TARVEK_HOOK_DISPLAY_LINE5, display, stackArguments);
}

extern "C" uint32_t tarvekDisplaySpriteEntry(uint32_t display, uint32_t* stackArguments) noexcept {
    return throughRoutine<4>(routines().displaySprite, TARVEK_HOOK_DISPLAY_SPRITE, display, stackArguments);
}
