#include "race/map_ghost_pipeline.h"

#include "race/frame_driver.h"
#include "race/race_state.h"

namespace tarvek {

// So far only the start-over on a new world; the map hash, catalog and ghost selection steps
// land with the catalog subsystem.
void runMapAndGhostPipeline(HostAddr world) {
    if (world == frameDriver().pipelineWorld) return;
    meetPipelineWorld(world);
    resetRaceState();
}

}  // namespace tarvek
