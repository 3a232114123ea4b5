// tarvek sync: one catalog synchronisation against a server, with the module's own worker.
// Server operators use it to check that their server meets what the module expects.
#include <condition_variable>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <optional>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "host/settings.h"
#include "platform/posix/curl_transport.h"
#include "platform/posix/posix_platform.h"
#include "sync/catalog_sync_worker.h"

namespace tarvek::cli {
namespace {

// The module's values (the settings' step timeouts, the budget of a whole run); a smaller
// --timeout-ms lowers them all.
const int32_t kStepTimeoutMs = static_cast<int32_t>(Settings{}.connectTimeoutMs);
const int32_t kReceiveTimeoutMs = static_cast<int32_t>(Settings{}.receiveTimeoutMs);
constexpr int32_t kOverallTimeoutMs = kModuleSyncOverallTimeoutMs;

struct SyncOptions {
    bool json = false;
    std::string origin;
    std::string season;
    std::optional<std::string> playerAccount;
    std::optional<std::string> playerName;
    std::optional<std::string> mapHash;
    std::optional<std::string> race;
    std::optional<int32_t> trackRank;
    std::string catalog;
    std::string cacheDirectory;
    bool allowHttp = false;
    int32_t timeoutMs = kOverallTimeoutMs;
    std::string caFile;
};

CatalogSyncRequest buildRequest(const SyncOptions& options) {
    CatalogSyncRequest request;
    request.apiBaseUrl = options.origin;
    request.seasonKey = options.season;
    request.playerAccountKey = options.playerAccount;
    request.playerName = options.playerName;
    request.mapHash = options.mapHash;
    request.raceType = options.race;
    request.trackRank = options.trackRank;
    request.catalogPath = std::filesystem::absolute(options.catalog);
    request.cacheDirectory = std::filesystem::absolute(options.cacheDirectory);
    request.allowHttp = options.allowHttp;
    request.resolveTimeoutMs = std::min(kStepTimeoutMs, options.timeoutMs);
    request.connectTimeoutMs = std::min(kStepTimeoutMs, options.timeoutMs);
    request.sendTimeoutMs = std::min(kStepTimeoutMs, options.timeoutMs);
    request.receiveTimeoutMs = std::min(kReceiveTimeoutMs, options.timeoutMs);
    request.overallTimeoutMs = options.timeoutMs;
    std::ostream& progressStream = options.json ? std::cerr : std::cout;
    request.progress = [&progressStream](const std::string& line) { progressStream << line << std::endl; };
    return request;
}

// Runs the request on the worker thread and waits for its one result.
CatalogSyncResult runWorker(CatalogSyncRequest request, const std::string& caFile) {
    CatalogSyncWorker worker(std::make_shared<PosixPlatform>(makeCurlTransport({caFile})));
    std::mutex mutex;
    std::condition_variable delivered;
    std::optional<CatalogSyncResult> outcome;
    worker.start(std::move(request), [&](CatalogSyncResult result) {
        std::lock_guard lock(mutex);
        outcome = std::move(result);
        delivered.notify_all();
    });
    std::unique_lock lock(mutex);
    delivered.wait(lock, [&] { return outcome.has_value(); });
    return std::move(*outcome);
}

void printJson(const CatalogSyncResult& result) {
    nlohmann::ordered_json assets = nlohmann::ordered_json::array();
    for (const auto& asset : result.assets)
        assets.push_back({{"file", asset.fileValue}, {"sha256", asset.sha256}, {"size", asset.size},
                          {"downloaded", asset.downloaded}});
    const nlohmann::ordered_json record = {
        {"errorKind", syncErrorKindName(result.errorKind)},
        {"message", result.message},
        {"httpStatus", result.httpStatus},
        {"catalogBytes", result.catalogBytes},
        {"assetCount", result.assetCount},
        {"downloadedCount", result.downloadedCount},
        {"reusedCount", result.reusedCount},
        {"catalogNotModified", result.catalogNotModified},
        {"assets", assets},
    };
    // Server texts are not guaranteed UTF-8; replace what is not.
    std::cout << record.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << std::endl;
}

void printText(const CatalogSyncResult& result) {
    std::cout << "result: " << syncErrorKindName(result.errorKind) << "\n"
              << "message: " << result.message << "\n"
              << "http status: " << result.httpStatus << "\n"
              << "catalog bytes: " << result.catalogBytes << "\n"
              << "assets: " << result.assetCount << " (" << result.downloadedCount << " downloaded, "
              << result.reusedCount << " reused)\n"
              << "catalog not modified: " << (result.catalogNotModified ? "yes" : "no") << "\n";
    for (const auto& asset : result.assets)
        std::cout << (asset.downloaded ? "downloaded " : "reused     ") << asset.sha256 << " " << asset.size << " "
                  << asset.fileValue << "\n";
}

}  // namespace

void addSyncCommands(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<SyncOptions>();
    CLI::App* sync = app.add_subcommand("sync", "synchronise one server catalog into a cache directory");
    sync->add_flag("--json", options->json, "print the result record as JSON (progress goes to stderr)");
    sync->add_option("--origin", options->origin, "server origin, e.g. https://tarvek.example")->required();
    sync->add_option("--season", options->season, "season key")->required();
    auto* account = sync->add_option("--player-account", options->playerAccount, "player account key");
    auto* name = sync->add_option("--player-name", options->playerName, "player display name (UTF-8)");
    account->excludes(name);
    sync->add_option("--map-hash", options->mapHash, "64 hex digits of the map hash");
    sync->add_option("--race", options->race, "BigRR, TTRR, TrickRace or BungeeRace");
    sync->add_option("--track-rank", options->trackRank, "leaderboard rank whose ghost is wanted");
    sync->add_option("--catalog", options->catalog, "cached catalog file to write")->required();
    sync->add_option("--cache-dir", options->cacheDirectory, "cache directory (wkTarvek.cache)")->required();
    sync->add_flag("--allow-http", options->allowHttp, "permit a plain HTTP origin (local test servers only)");
    sync->add_option("--timeout-ms", options->timeoutMs, "overall timeout in milliseconds")
        ->check(CLI::Range(1, INT32_MAX));
    sync->add_option("--ca-file", options->caFile, "PEM file of the authorities to trust instead of the system's");
    sync->callback([options, &context] {
        const CatalogSyncResult result = runWorker(buildRequest(*options), options->caFile);
        if (options->json) printJson(result);
        else printText(result);
        context.exitStatus = result.errorKind == SyncErrorKind::None ? kExitOk : kExitRejected;
    });
}

}  // namespace tarvek::cli
