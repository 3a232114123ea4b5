#pragma once
// A running world with a chat, the module's chat hook installed and a module directory, for the
// chat command and tracked-rank tests.
#include <gtest/gtest.h>

#include <string>

#include "sim/sim_chat.h"
#include "sim/sim_host.h"
#include "sim/sim_world.h"
#include "support/temp_dir.h"

namespace tarvek::testing {

class ChatHostTest : public ::testing::Test {
protected:
    ChatHostTest();
    ~ChatHostTest() override;

    // Makes hash the active map hash of the running world.
    void identifyMap(const std::string& hash, bool isBigRR);
    // The cached server catalog of the current map and player for a tracked rank.
    std::string cachedCatalogPath(int32_t rank) const;
    void writeCachedCatalog(int32_t rank, const std::string& text) const;

    TempDir moduleDir;
    sim::SimHost host;
    sim::SimWorld world{host.space()};
    sim::SimChat chat{host, world.world()};
    std::string mapHash = std::string(60, 'c') + "0a1b";
};

}  // namespace tarvek::testing
