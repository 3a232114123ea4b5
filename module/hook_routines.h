#pragma once
// The module routines behind the hooks, in portable signatures. The entry code of each build (x86
// thunks in the DLL, address dispatch in the simulated host) calls them with the host's values.
// A hook whose routine is missing here is not installed; connecting one is filling its row.
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

struct HookRoutines {
    // After LandscapeGenerator::LoadLandDat returned.
    void (*mapSourceLoaded)(HostAddr landscape) = nullptr;
    // A chat line the player sends; 1 when the module consumed it.
    uint32_t (*chatCommand)(HostAddr chatObject, HostAddr text) = nullptr;
    // Before the timer update.
    void (*timerColourA)(HostAddr timer) = nullptr;
    // Before and after drawing team's timer.
    void (*timerColourB)(HostAddr timer, uint32_t team) = nullptr;
    void (*timerColourBDone)() = nullptr;
    // Before the timer bitmap is rendered (may change the colour parameter) and after, with it.
    void (*timerDrawing)(HostAddr object, uint32_t& colour) = nullptr;
    void (*timerDrawingDone)(HostAddr bitmap) = nullptr;
    // Replaces worm HandleMessage; chains to the previous handler itself.
    void (*wormMessage)(HostAddr worm, HostAddr sender, uint32_t type, uint32_t size, HostAddr data) = nullptr;
    // Replace display slots 13, 14 and 19 (arguments as the host passed them, 6, 5 and 4 of
    // them); each chains to the previous entry itself and returns its result.
    uint32_t (*displayLine6)(HostAddr display, uint32_t* arguments) = nullptr;
    uint32_t (*displayLine5)(HostAddr display, uint32_t* arguments) = nullptr;
    uint32_t (*displaySprite)(HostAddr display, uint32_t* arguments) = nullptr;
    // Before display slot 26.
    void (*displayOverlay)(HostAddr display) = nullptr;
    // On entry to Landscape InitBorders: left, right, top, bottom.
    void (*initBordersEntered)(HostAddr landscape, const int32_t* borders) = nullptr;
};

// The routines this build of the module has.
const HookRoutines& moduleHookRoutines();

}  // namespace tarvek
