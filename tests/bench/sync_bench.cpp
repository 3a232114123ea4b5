// bench sync: a whole synchronisation that downloads four 16 MiB assets from the reference
// server on loopback, against curl fetching the same four files from the same server.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "host/settings.h"
#include "platform/posix/curl_transport.h"
#include "platform/posix/posix_platform.h"
#include "posix/catalog_server_data.h"
#include "posix/catalog_server_process.h"
#include "support/temp_dir.h"
#include "sync/synchronize_catalog.h"

namespace {

using namespace tarvek;
using namespace tarvek::testing;
using Clock = std::chrono::steady_clock;

constexpr size_t kAssetBytes = 16u << 20;
constexpr int kRounds = 3;
const std::string kMapHash(64, 'c');

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

CatalogSyncRequest benchRequest(const std::string& origin, const std::filesystem::path& cacheDirectory) {
    CatalogSyncRequest request;
    request.apiBaseUrl = origin;
    request.seasonKey = "bench";
    request.playerAccountKey = "acc-me";
    request.mapHash = kMapHash;
    request.raceType = "BigRR";
    request.cacheDirectory = cacheDirectory;
    request.catalogPath = cacheDirectory / "catalog.ini";
    request.allowHttp = true;
    const Settings module;
    request.resolveTimeoutMs = request.connectTimeoutMs = request.sendTimeoutMs =
        static_cast<int32_t>(module.connectTimeoutMs);
    request.receiveTimeoutMs = static_cast<int32_t>(module.receiveTimeoutMs);
    request.overallTimeoutMs = kModuleSyncOverallTimeoutMs;
    return request;
}

bool synchronize(const CatalogSyncRequest& request, uint32_t expectedDownloads) {
    const std::atomic<bool> cancel{false};
    const CatalogSyncResult result =
        synchronizeCatalog(request, cancel, PosixPlatform(makeCurlTransport({})));
    if (result.errorKind != SyncErrorKind::None || result.downloadedCount != expectedDownloads) {
        std::fprintf(stderr, "bench sync: synchronisation failed: %s\n", result.message.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main() {
    CatalogServerData data;
    std::vector<std::string> urls;
    std::vector<std::string> shas;
    for (uint32_t seed = 1; seed <= 2; ++seed) {
        const std::string ghost = data.addGhost(patternBytes(kAssetBytes, seed));
        data.addTail(ghost, patternBytes(kAssetBytes, seed + 10));
        shas.push_back(ghost);
    }
    data.writeBoard("bench", kMapHash, "BigRR",
                    {"1|acc-wr|Alice|01:00.00|" + shas[0], "2|acc-me|Me|01:01.00|" + shas[1]});
    CatalogServerProcess server(data.directory());
    for (const auto& sha : shas) {
        urls.push_back(server.origin() + "/ghosts/" + sha + ".tkghost");
        urls.push_back(server.origin() + "/ghosts/" + sha + ".tktail");
    }

    TempDir scratch;
    // Ghost requests ask for gzip in both clients; the server compresses each file once, so a
    // first fetch warms that cache before anything is timed.
    std::string curlCommand = "curl -sf --compressed";
    for (size_t i = 0; i < urls.size(); ++i)
        curlCommand += " -o '" + (scratch.path() / ("file" + std::to_string(i))).string() + "' '" + urls[i] + "'";
    if (std::system(curlCommand.c_str()) != 0) {
        std::fprintf(stderr, "bench sync: curl failed\n");
        return 1;
    }

    double moduleBest = 1e300, curlBest = 1e300, notModifiedBest = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        const auto cache = scratch.path() / ("round" + std::to_string(round)) / "wkTarvek.cache";
        const auto request = benchRequest(server.origin(), cache);
        auto start = Clock::now();
        if (!synchronize(request, 4)) return 1;
        moduleBest = std::min(moduleBest, millisecondsSince(start));

        start = Clock::now();
        if (!synchronize(request, 0)) return 1;
        notModifiedBest = std::min(notModifiedBest, millisecondsSince(start));

        start = Clock::now();
        if (std::system(curlCommand.c_str()) != 0) return 1;
        curlBest = std::min(curlBest, millisecondsSince(start));
    }
    std::printf("bench sync ratio=%.3f module_ms=%.1f curl_ms=%.1f not_modified_ms=%.1f assets=4x16MiB rounds=%d\n",
                moduleBest / curlBest, moduleBest, curlBest, notModifiedBest, kRounds);
    return 0;
}
