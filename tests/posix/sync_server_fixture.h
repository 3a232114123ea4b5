#pragma once
// A client cache and a served leaderboard with world-record and personal-record ghosts and tails,
// for synchronisations against the real server on loopback.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalog_server_data.h"
#include "catalog_server_process.h"
#include "sync/synchronize_catalog.h"
#include "support/temp_dir.h"

namespace tarvek::testing {

constexpr const char* kSeason = "season-1";
constexpr const char* kAccount = "acc-me";

class SyncServerTest : public ::testing::Test {
protected:
    SyncServerTest();

    // Starts (or restarts) the server with these faults ("PREFIX=MODE[:ARG]").
    CatalogServerProcess& startServer(const std::vector<std::string>& faults = {},
                                      const std::vector<std::string>& extra = {});
    CatalogSyncRequest request() const;
    CatalogSyncResult run(const CatalogSyncRequest& request, const std::string& caFile = {});
    CatalogSyncResult run() { return run(request()); }

    // Every file below the client directory, by path relative to it.
    std::map<std::string, std::string> clientFiles() const;
    std::string cachedAssetPath(const std::string& fileName) const;
    std::string accessLog() const;
    std::string wrGhostFile() const { return wrGhostSha + ".tkghost"; }

    CatalogServerData data;
    TempDir client;
    std::string mapHash;
    std::string wrGhostSha;
    std::string wrGhost;
    std::vector<std::string> progress;
    std::unique_ptr<CatalogServerProcess> server;
    std::string accessLogPath;
};

}  // namespace tarvek::testing
