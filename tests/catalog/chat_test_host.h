#pragma once
// A running world with a chat, the module's chat hook installed and a module directory, for the
// chat command and tracked-rank tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "catalog/catalog_paths.h"
#include "catalog/player_identity.h"
#include "host/file_path.h"
#include "host/settings.h"
#include "race/frame_driver.h"
#include "race/map_ghost_pipeline.h"
#include "race/race_type.h"
#include "sim/sim_chat.h"
#include "sim/sim_module.h"
#include "sim/sim_world.h"
#include "support/temp_dir.h"

namespace tarvek::testing {

class ChatHostTest : public ::testing::Test {
protected:
    ChatHostTest() {
        sim::resetModuleRaceState();
        settings().moduleDirectory = moduleDir.path().string();
        settings().playerName = "Zoe";
        sim::installChatHook(host);
        meetPipelineWorld(world.world());
    }
    ~ChatHostTest() override { sim::resetModuleRaceState(); }

    // Makes hash (empty: none) the active map hash of the running world.
    void identifyMap(const std::string& hash, bool isBigRR) {
        mapPipeline().activeMapHash = hash;
        raceType().isBigRR = isBigRR;
    }
    // Writes (empty text: removes) the player's cached server catalog of the map for a tracked rank.
    void writeCachedCatalog(int32_t rank, const std::string& text) const {
        const std::string key = buildPlayerIdentity(settings().playerName).playerKey;
        const std::filesystem::path path = openablePath(serverCatalogCachePath(mapPipeline().activeMapHash, raceType().isBigRR, key, rank));
        std::filesystem::create_directories(path.parent_path());
        if (text.empty()) std::filesystem::remove(path);
        else std::ofstream(path, std::ios::binary) << text;
    }

    TempDir moduleDir;
    sim::SimHost host;
    sim::SimWorld world{host.space()};
    sim::SimChat chat{host, world.world()};
};

}  // namespace tarvek::testing
