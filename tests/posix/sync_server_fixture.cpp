#include "sync_server_fixture.h"

#include <filesystem>

#include "platform/posix/curl_transport.h"
#include "platform/posix/posix_platform.h"

namespace tarvek::testing {

SyncServerTest::SyncServerTest() : mapHash(std::string(63, 'a') + "7") {
    wrGhost = patternBytes(300000, 1);
    wrGhostSha = data.addGhost(wrGhost);
    data.addTail(wrGhostSha, patternBytes(5000, 2));
    const std::string prGhostSha = data.addGhost(patternBytes(7000, 3));
    data.addTail(prGhostSha, patternBytes(900, 4));
    data.writeBoard(kSeason, mapHash, "BigRR",
                    {"1|acc-wr|Alice|01:02.50|" + wrGhostSha, "2|" + std::string(kAccount) + "|Me|01:05.00|" + prGhostSha,
                     "3|acc-3|Carol|01:06.00|"});
    accessLogPath = (client.path() / "access.log").string();
}

CatalogServerProcess& SyncServerTest::startServer(const std::vector<std::string>& faults,
                                                  const std::vector<std::string>& extra) {
    server.reset();
    std::vector<std::string> arguments{"--access-log", accessLogPath};
    for (const auto& fault : faults) {
        arguments.push_back("--fault");
        arguments.push_back(fault);
    }
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    server = std::make_unique<CatalogServerProcess>(data.directory(), arguments);
    return *server;
}

CatalogSyncRequest SyncServerTest::request() const {
    CatalogSyncRequest request;
    request.apiBaseUrl = server ? server->origin() : "http://127.0.0.1:9";
    request.seasonKey = kSeason;
    request.playerAccountKey = kAccount;
    request.mapHash = mapHash;
    request.raceType = "BigRR";
    request.cacheDirectory = client.path() / "wkTarvek.cache";
    request.catalogPath = request.cacheDirectory / ("catalog-" + mapHash + "-bigrr-0123456789abcdef.ini");
    request.allowHttp = true;
    request.resolveTimeoutMs = request.connectTimeoutMs = request.sendTimeoutMs = 1000;
    request.receiveTimeoutMs = 1500;
    request.overallTimeoutMs = 30000;
    return request;
}

CatalogSyncResult SyncServerTest::run(const CatalogSyncRequest& base, const std::string& caFile) {
    CatalogSyncRequest request = base;
    request.progress = [this](const std::string& line) { progress.push_back(line); };
    const std::atomic<bool> cancel{false};
    return synchronizeCatalog(request, cancel, PosixPlatform(makeCurlTransport({caFile})));
}

std::map<std::string, std::string> SyncServerTest::clientFiles() const {
    std::map<std::string, std::string> files;
    const auto root = client.path() / "wkTarvek.cache";
    if (!std::filesystem::exists(root)) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[std::filesystem::relative(entry.path(), root).string()] = readFileBytes(entry.path().string());
    return files;
}

std::string SyncServerTest::cachedAssetPath(const std::string& fileName) const {
    return (client.path() / "wkTarvek.cache" / fileName).string();
}

std::string SyncServerTest::accessLog() const { return readFileBytes(accessLogPath); }

}  // namespace tarvek::testing
