#include "sim/sim_module.h"

#include "catalog/map_selection.h"
#include "catalog/pipeline_connection.h"
#include "ghostdata/ghost_recording.h"
#include "ghostdata/map_hash_settle.h"
#include "host/settings.h"
#include <memory>

#include "host/host_layout.h"
#include "presentation/display_hooks.h"
#include "presentation/gap_message.h"
#include "presentation/ghost_graphics.h"
#include "presentation/line_batch.h"
#include "presentation/module_race_callouts.h"
#include "presentation/turn_timer.h"
#include "race/ghost_drawing.h"
#include "race/frame_driver.h"
#include "race/map_ghost_pipeline.h"
#include "race/race_callouts.h"
#include "race/race_state.h"
#include "race/race_type.h"

namespace tarvek::sim {

void installFrameDriver(SimHost& host) {
    const HostAddr routine = host.registerWormRoutine(&onWormMessage);
    frameDriver().previousHandler = host.patchWormHandler(routine);
}

void installDisplayHooks(SimHost& host) {
    namespace table = host_layout::display_table;
    const HostAddr classTable = host.base() + host_layout::image::kDisplayClassTable;
    DisplayHookTargets& targets = displayHookTargets();
    targets.wideLine = host.replaceTableEntry(
        classTable + table::kLineDraw6, host.registerRoutine(&SimRoutines::wideLine, {&onDisplayWideLine}));
    targets.thinLine = host.replaceTableEntry(
        classTable + table::kLineDraw5, host.registerRoutine(&SimRoutines::thinLine, {&onDisplayThinLine}));
    targets.sprite = host.replaceTableEntry(classTable + table::kSpriteDraw,
                                            host.registerRoutine(&SimRoutines::sprite, {&onDisplaySprite}));
    const HostAddr overlayEntry = classTable + table::kOverlay;
    const HostAddr hostOverlay = host.memory().peekU32(overlayEntry);
    host.replaceTableEntry(overlayEntry, host.registerRoutine(&SimRoutines::frameEnd, {[&host, hostOverlay](HostAddr display) {
                               onDisplayOverlay(display);
                               host.callDisplayFrameEnd(hostOverlay, display);
                           }}));
    gapMessageBoard().setOverlayInstalled(true);
}

void installTurnTimerHooks(SimHost& host) {
    namespace image = host_layout::image;
    const HostAddr base = host.base();
    auto hook = [&host, base](uint32_t site, auto work) {
        auto previous = std::make_shared<HostAddr>(0);
        *previous = host.redirectCallSite(base + site, host.registerCodeRoutine([&host, previous, work](SimCall& call) {
            return work(call, [&host, previous](SimCall& forwarded) { return host.callCode(*previous, forwarded); });
        }));
    };
    hook(image::kTurnTimerColourACallSite, [](SimCall& call, auto callHost) {
        turnTimerColourA(call.ecx);
        return callHost(call);
    });
    hook(image::kTurnTimerColourBCallSite, [](SimCall& call, auto callHost) {
        turnTimerColourBBefore(call.eax, call.edx);
        const uint32_t result = callHost(call);
        turnTimerColourBAfter();
        return result;
    });
    // The colour parameter is the third stack argument; the host sees the one the hook chose.
    hook(image::kTurnTimerDrawCallSite, [](SimCall& call, auto callHost) {
        SimCall forwarded = call;
        turnTimerDrawing(forwarded.stackArguments.at(0), forwarded.stackArguments.at(2));
        const uint32_t bitmap = callHost(forwarded);
        turnTimerDrawingDone(bitmap);
        return bitmap;
    });
}

void resetModuleRaceState() {
    settings() = Settings{};
    raceCallouts() = moduleRaceCallouts();
    mapPipelineLinks() = MapPipelineLinks{};
    connectCatalogToPipeline();
    mapPipeline() = MapPipelineState{};
    mapHashState() = MapHashState{};
    forgetMapSelection();
    raceType() = RaceType{};
    goldGhost() = GhostRecording{};
    blueGhost() = GhostRecording{};
    resetFrameDriver();
    resetRaceState();
    dropCachedGhostGraphics();
    lineBatch().count = 0;
    ghostDrawState(false) = GhostDrawState{};
    ghostDrawState(true) = GhostDrawState{};
    gapMessageBoard().drop();
    gapMessageBoard().setOverlayInstalled(false);
    resetTurnTimerColours();
}

}  // namespace tarvek::sim
