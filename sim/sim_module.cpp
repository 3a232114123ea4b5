#include "sim/sim_module.h"

#include "race/frame_driver.h"

namespace tarvek::sim {

void installFrameDriver(SimHost& host) {
    const HostAddr routine = host.registerWormRoutine(&onWormMessage);
    frameDriver().previousHandler = host.patchWormHandler(routine);
}

}  // namespace tarvek::sim
