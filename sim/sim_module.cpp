#include "sim/sim_module.h"

#include "ghostdata/ghost_recording.h"
#include "host/settings.h"
#include "presentation/module_race_callouts.h"
#include "race/frame_driver.h"
#include "race/race_callouts.h"
#include "race/race_state.h"
#include "race/race_type.h"

namespace tarvek::sim {

void installFrameDriver(SimHost& host) {
    const HostAddr routine = host.registerWormRoutine(&onWormMessage);
    frameDriver().previousHandler = host.patchWormHandler(routine);
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
