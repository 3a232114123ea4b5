#include "chat_test_host.h"

#include <filesystem>
#include <fstream>

#include "catalog/catalog_paths.h"
#include "catalog/catalog_sync_state.h"
#include "catalog/player_identity.h"
#include "host/file_path.h"
#include "host/settings.h"
#include "race/frame_driver.h"
#include "race/map_ghost_pipeline.h"
#include "race/race_type.h"
#include "sim/sim_module.h"

namespace tarvek::testing {

ChatHostTest::ChatHostTest() {
    sim::resetModuleRaceState();
    settings().moduleDirectory = moduleDir.path().string();
    settings().playerName = "Zoe";
    sim::installChatHook(host);
    meetPipelineWorld(world.world());
}

ChatHostTest::~ChatHostTest() { sim::resetModuleRaceState(); }

void ChatHostTest::identifyMap(const std::string& hash, bool isBigRR) {
    mapPipeline().activeMapHash = hash;
    raceType().isBigRR = isBigRR;
}

std::string ChatHostTest::cachedCatalogPath(int32_t rank) const {
    const PlayerIdentity identity = buildPlayerIdentity(settings().playerName);
    return serverCatalogCachePath(mapPipeline().activeMapHash, raceType().isBigRR, identity.playerKey, rank);
}

void ChatHostTest::writeCachedCatalog(int32_t rank, const std::string& text) const {
    const std::filesystem::path path = openablePath(cachedCatalogPath(rank));
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace tarvek::testing
