#include "module/hook_routines.h"

#include "catalog/chat_commands.h"
#include "ghostdata/map_geometry_capture.h"
#include "host/host_context.h"
#include "presentation/display_hooks.h"
#include "presentation/turn_timer.h"
#include "race/frame_driver.h"

namespace tarvek {
namespace {

void captureSourceMask(HostAddr landscape) {
    captureMapGeometry(hostMemory(), landscape, "source", true, "captured at LandscapeGenerator::LoadLandDat return");
}

void capturePreBorderMask(HostAddr landscape, const int32_t* borders) {
    captureMapGeometry(hostMemory(), landscape, "pre-border", false,
                       requestedBordersDetail(borders[0], borders[1], borders[2], borders[3]));
}

int32_t signedWord(uint32_t word) { return static_cast<int32_t>(word); }

// Display slots 13, 14 and 19 with the host's stack arguments in its order.
uint32_t wideLine(HostAddr display, uint32_t* a) {
    return onDisplayWideLine(display, signedWord(a[0]), signedWord(a[1]), signedWord(a[2]), signedWord(a[3]), a[4],
                             a[5]);
}

uint32_t thinLine(HostAddr display, uint32_t* a) {
    return onDisplayThinLine(display, signedWord(a[0]), signedWord(a[1]), signedWord(a[2]), signedWord(a[3]), a[4]);
}

uint32_t sprite(HostAddr display, uint32_t* a) {
    return onDisplaySprite(display, signedWord(a[0]), signedWord(a[1]), a[2], a[3]);
}

HookRoutines connectedRoutines() {
    HookRoutines routines;
    routines.mapSourceLoaded = &captureSourceMask;
    routines.chatCommand = &handleChatCommand;
    routines.timerColourA = &turnTimerColourA;
    routines.timerColourB = &turnTimerColourBBefore;
    routines.timerColourBDone = &turnTimerColourBAfter;
    routines.timerDrawing = &turnTimerDrawing;
    routines.timerDrawingDone = &turnTimerDrawingDone;
    routines.wormMessage = &onWormMessage;
    routines.displayLine6 = &wideLine;
    routines.displayLine5 = &thinLine;
    routines.displaySprite = &sprite;
    routines.displayOverlay = &onDisplayOverlay;
    routines.initBordersEntered = &capturePreBorderMask;
    return routines;
}

}  // namespace

const HookRoutines& moduleHookRoutines() {
    static const HookRoutines routines = connectedRoutines();
    return routines;
}

}  // namespace tarvek
