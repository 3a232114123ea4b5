#include "module/hook_routines.h"

#include "catalog/chat_commands.h"
#include "ghostdata/map_geometry_capture.h"
#include "host/host_context.h"
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

HookRoutines connectedRoutines() {
    HookRoutines routines;
    routines.mapSourceLoaded = &captureSourceMask;
    routines.chatCommand = &handleChatCommand;
    routines.wormMessage = &onWormMessage;
    routines.initBordersEntered = &capturePreBorderMask;
    return routines;
}

}  // namespace

const HookRoutines& moduleHookRoutines() {
    static const HookRoutines routines = connectedRoutines();
    return routines;
}

}  // namespace tarvek
