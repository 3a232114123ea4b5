#pragma once
// The offline scenarios: each has its own module directory (settings, catalogs, cache) and may
// change the game's image before the module loads.
#include <string>
#include <vector>

#include "sim/sim_worm.h"
#include "tools/tarvek-host32/module_directory.h"

namespace tarvek::host32 {

struct ImageChange {
    uint32_t offset = 0;  // from the game's base
    std::vector<uint8_t> bytes;
};

struct Scenario {
    std::string name;
    std::vector<ModuleFile> files;
    std::vector<ImageChange> imageChanges;
    int8_t schemeTurnTime = 0;            // the scheme byte: 0 for TTRR, seconds per turn for BigRR
    std::vector<sim::WormFrame> liveWorm;  // one entry per game frame
};

// The log file every scenario's settings name, relative to its module directory.
inline constexpr const char* kLogFileName = "wkTarvek.log";

std::vector<Scenario> offlineScenarios();

}  // namespace tarvek::host32
