#include "sim/sim_module.h"

#include <memory>

#include "catalog/catalog_sync_state.h"
#include "catalog/chat_commands.h"
#include "catalog/chat_output.h"
#include "catalog/map_selection.h"
#include "catalog/pipeline_connection.h"
#include "ghostdata/ghost_recording.h"
#include "ghostdata/map_hash_settle.h"
#include "host/hook_table.h"
#include "host/host_layout.h"
#include "host/patch_engine.h"
#include "host/settings.h"
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
    HostAddr* previous = &frameDriver().previousHandler;
    patchTableEntry(host.memory(), host.base(), hooks::kWormMessage, std::span(&routine, 1), std::span(&previous, 1));
}

void installChatHook(SimHost& host) {
    auto previous = std::make_shared<HostAddr>(0);
    const HostAddr routine = host.registerCodeRoutine([&host, previous](SimCall& call) -> uint32_t {
        if (handleChatCommand(call.ecx, call.eax) != 0) return 1;
        return host.callCode(*previous, call);
    });
    patchCallSite(host.memory(), host.base(), hooks::kChat, routine, *previous);
    setChatPrintRoutine(host.base() + host_layout::image::kChatPrint);
}

void installDisplayHooks(SimHost& host) {
    HostMemory& memory = host.memory();
    const HostAddr lines[] = {host.registerRoutine(&SimRoutines::wideLine, {&onDisplayWideLine}),
                              host.registerRoutine(&SimRoutines::thinLine, {&onDisplayThinLine})};
    HostAddr* const lineTargets[] = {&tarvekPreviousTargets[TARVEK_HOOK_DISPLAY_LINE6],
                                     &tarvekPreviousTargets[TARVEK_HOOK_DISPLAY_LINE5]};
    const HostAddr sprite = host.registerRoutine(&SimRoutines::sprite, {&onDisplaySprite});
    HostAddr* const spriteTarget = &tarvekPreviousTargets[TARVEK_HOOK_DISPLAY_SPRITE];
    // The DLL's overlay thunk draws first and then enters the entry it replaced; this stands in.
    const HostAddr overlay = host.registerRoutine(&SimRoutines::frameEnd, {[&host](HostAddr display) {
        onDisplayOverlay(display);
        host.callDisplayFrameEnd(tarvekPreviousTargets[TARVEK_HOOK_DISPLAY_OVERLAY], display);
    }});
    HostAddr* const overlayTarget = &tarvekPreviousTargets[TARVEK_HOOK_DISPLAY_OVERLAY];
    const HostAddr base = host.base();
    if (patchTableEntry(memory, base, hooks::kDisplayLines, lines, lineTargets) != PatchOutcome::Patched ||
        patchTableEntry(memory, base, hooks::kDisplaySprite, std::span(&sprite, 1), std::span(&spriteTarget, 1)) !=
            PatchOutcome::Patched)
        return;
    if (patchTableEntry(memory, base, hooks::kDisplayOverlay, std::span(&overlay, 1), std::span(&overlayTarget, 1)) ==
        PatchOutcome::Patched)
        gapMessageBoard().setOverlayInstalled(true);
}

void installTurnTimerHooks(SimHost& host) {
    // Each stand-in does what the DLL's thunk does: the module's work around the call it replaced.
    auto hook = [&host](const CallSiteHook& site, auto work) {
        HostAddr& previous = tarvekPreviousTargets[site.id];
        const HostAddr routine = host.registerCodeRoutine([&host, &previous, work](SimCall& call) {
            return work(call, [&host, &previous](SimCall& forwarded) { return host.callCode(previous, forwarded); });
        });
        return patchCallSite(host.memory(), host.base(), site, routine, previous);
    };
    const PatchOutcome colourA = hook(hooks::kTimerColourA, [](SimCall& call, auto callHost) {
        turnTimerColourA(call.ecx);
        return callHost(call);
    });
    if (colourA != PatchOutcome::Patched && colourA != PatchOutcome::AlreadyInstalled) return;
    hook(hooks::kTimerColourB, [](SimCall& call, auto callHost) {
        turnTimerColourBBefore(call.eax, call.edx);
        const uint32_t result = callHost(call);
        turnTimerColourBAfter();
        return result;
    });
    // The colour parameter is the third stack argument; the host sees the one the hook chose.
    hook(hooks::kTimerDrawing, [](SimCall& call, auto callHost) {
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
    resetCatalogSync();
    chatTargetObject() = 0;
    setChatPrintRoutine(0);
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
