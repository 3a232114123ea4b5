#include "sim/sim_module.h"

#include "ghostdata/ghost_recording.h"
#include "host/patch_engine.h"
#include "host/settings.h"
#include "presentation/module_race_callouts.h"
#include "race/frame_driver.h"
#include "race/race_callouts.h"
#include "race/race_state.h"
#include "race/race_type.h"

namespace tarvek::sim {

void installFrameDriver(SimHost& host) {
    const HostAddr routine = host.registerWormRoutine(&onWormMessage);
    HostAddr* previous = &frameDriver().previousHandler;
    patchTableEntry(host.memory(), host.base(), hooks::kWormMessage, std::span(&routine, 1), std::span(&previous, 1));
}

void resetModuleRaceState() {
    settings() = Settings{};
    raceCallouts() = moduleRaceCallouts();
    raceType() = RaceType{};
    goldGhost() = GhostRecording{};
    blueGhost() = GhostRecording{};
    resetFrameDriver();
    resetRaceState();
}

}  // namespace tarvek::sim
