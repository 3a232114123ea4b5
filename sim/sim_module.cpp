#include "sim/sim_module.h"

#include <memory>

#include "catalog/catalog_sync_state.h"
#include "catalog/chat_commands.h"
#include "catalog/chat_output.h"
#include "catalog/map_selection.h"
#include "catalog/pipeline_connection.h"
#include "ghostdata/ghost_recording.h"
#include "ghostdata/map_hash_settle.h"
#include "host/host_layout.h"
#include "host/patch_engine.h"
#include "host/settings.h"
#include "presentation/ghost_graphics.h"
#include "presentation/module_race_callouts.h"
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
}

}  // namespace tarvek::sim
