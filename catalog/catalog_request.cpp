#include "catalog/catalog_request.h"

#include <algorithm>

#include "catalog/catalog_sync_state.h"
#include "catalog/catalog_paths.h"
#include "catalog/player_identity.h"
#include "host/file_path.h"
#include "host/log.h"
#include "host/module_path.h"
#include "host/settings.h"
#include "host/text.h"
#include "race/frame_driver.h"

namespace tarvek {
namespace {

constexpr uint64_t kFirstRetryDelayMs = 3000;

const char* raceText(bool isBigRR) { return isBigRR ? "BigRR" : "TTRR"; }

// The request key without the player key, which only the identity (host reads, the alias file)
// gives: "<map hash>.<race>." ... ".track.<rank>".
bool sameScope(const std::string& requestKey, const std::string& mapHash, bool isBigRR, int32_t trackedRank) {
    const std::string head = mapHash + "." + raceText(isBigRR) + ".";
    const std::string tail = ".track." + std::to_string(trackedRank);
    return requestKey.size() > head.size() + tail.size() && requestKey.starts_with(head) && requestKey.ends_with(tail);
}

// Under the catalog lock: the current request needs no new start now.
bool requestIsSettled(const CatalogSyncState& state, bool workerRunning, uint64_t now) {
    if (workerRunning || state.catalogReady) return true;
    if (!state.currentRequestFailed()) return false;
    const bool attemptBlocksRetry = frameDriver().attemptStarted && !state.trackedRankPending;
    return state.failureCount > kCatalogRetryBudget - 1 || now < state.retryNotBefore || attemptBlocksRetry;
}

int32_t timeoutField(uint32_t milliseconds) { return static_cast<int32_t>(std::min<uint32_t>(milliseconds, INT32_MAX)); }

CatalogSyncRequest buildRequest(const std::string& mapHash, bool isBigRR, const PlayerIdentity& identity,
                                int32_t trackedRank) {
    const Settings& config = settings();
    CatalogSyncRequest request;
    request.apiBaseUrl = config.apiOrigin;
    const std::string_view season = trimHostText(config.seasonKey);
    request.seasonKey = season.empty() ? "current" : std::string(season);
    if (!identity.accountKey.empty()) request.playerAccountKey = identity.accountKey;
    else if (!identity.nameUtf8.empty()) request.playerName = identity.nameUtf8;
    request.mapHash = mapHash;
    request.raceType = raceText(isBigRR);
    if (trackedRank != 0) request.trackRank = trackedRank;
    request.catalogPath = openablePath(serverCatalogCachePath(mapHash, isBigRR, identity.playerKey, trackedRank));
    request.cacheDirectory = openablePath(joinModulePath(config.moduleDirectory, "wkTarvek.cache"));
    request.allowHttp = config.allowPlainHttp;
    request.resolveTimeoutMs = timeoutField(config.connectTimeoutMs);
    request.connectTimeoutMs = timeoutField(config.connectTimeoutMs);
    request.sendTimeoutMs = timeoutField(config.connectTimeoutMs);
    request.receiveTimeoutMs = timeoutField(config.receiveTimeoutMs);
    request.overallTimeoutMs = kCatalogOverallTimeoutMs;
    return request;
}

// Records a failed fetch of request number (catalog lock held); returns the failure count before
// it. A failed fetch waits 3 s, 6 s, 12 s and then 24 s; a run that could not start waits 3 s.
uint32_t recordFailure(CatalogSyncState& state, uint64_t number, bool growingWait) {
    const uint32_t before = state.failureCount.fetch_add(1);
    const uint64_t wait = growingWait ? kFirstRetryDelayMs << std::min<uint32_t>(before, 3) : kFirstRetryDelayMs;
    state.failedRequestNumber = number;
    state.retryNotBefore = catalogServices().ticks() + wait;
    if (before + 1 >= kCatalogRetryBudget && state.trackedRankPending) state.trackedRankFailed = true;
    return before;
}

}  // namespace

void requestCatalogSynchronization(const std::string& mapHash, bool isBigRR, HostAddr world) {
    CatalogSyncState& state = catalogSyncState();
    const std::shared_ptr<CatalogSyncWorker> worker = currentCatalogWorker();
    if (!worker || !catalogServices().makeWorker) return;
    if (worker->isRunning() && state.trackedRankPending) return;
    {
        const bool running = worker->isRunning();
        const uint64_t now = catalogServices().ticks();
        std::lock_guard lock(state.catalogLock);
        // A request of another map, race type or rank is never settled: the new key replaces it.
        if (sameScope(state.requestKey, mapHash, isBigRR, state.trackedRank) && requestIsSettled(state, running, now))
            return;
    }

    const PlayerIdentity identity = buildPlayerIdentity(detectLocalPlayerName(world).name);
    const std::string key = mapHash + "." + raceText(isBigRR) + "." + identity.playerKey + ".track." +
                            std::to_string(state.trackedRank);
    uint64_t number = 0;
    {
        const bool running = worker->isRunning();
        const uint64_t now = catalogServices().ticks();
        std::lock_guard lock(state.catalogLock);
        if (key == state.requestKey) {
            if (requestIsSettled(state, running, now)) return;
        } else {
            state.requestKey = key;
            state.clearFailureRecord();
        }
        number = state.requestNumber = nextCatalogRequestNumber();
        state.catalogReady = false;
    }

    if (worker->isRunning()) worker->requestCancel();
    std::shared_ptr<CatalogSyncWorker> fresh = catalogServices().makeWorker();
    setCurrentCatalogWorker(fresh);

    bool started = false;
    try {
        CatalogSyncRequest request = buildRequest(mapHash, isBigRR, identity, state.trackedRank);
        started = fresh->start(std::move(request), [fresh, key, number](CatalogSyncResult result) {
            completeCatalogRequest(key, number, result);
        });
    } catch (...) {
        // No thread for the run: counted as a failed fetch, retried like one.
    }
    if (started) return;
    std::lock_guard lock(state.catalogLock);
    if (state.requestNumber == number) recordFailure(state, number, false);
}

void completeCatalogRequest(const std::string& requestKey, uint64_t requestNumber, const CatalogSyncResult& result) {
    CatalogSyncState& state = catalogSyncState();
    std::string line;
    {
        std::lock_guard lock(state.catalogLock);
        if (requestNumber != state.requestNumber) return;
        if (result.errorKind != SyncErrorKind::None) {
            const uint32_t before = recordFailure(state, requestNumber, true);
            line = "server catalog unavailable: " + result.message +
                   "; keeping last-known-good/local catalog (retry " + std::to_string(before + 1) +
                   "/3 before first movement)";
        } else {
            state.catalogReady = true;
            state.failedRequestNumber = 0;
            state.failureCount = 0;
            const bool nothingNew = result.catalogNotModified && result.downloadedCount == 0 && !state.trackedRankPending;
            const uint64_t generation = nothingNew ? state.catalogGeneration.load() : state.catalogGeneration.fetch_add(1) + 1;
            line = "server catalog ready (generation " + std::to_string(generation) + ", request " + requestKey + ", " +
                   std::to_string(result.assetCount) + " ghost(s), " + std::to_string(result.downloadedCount) +
                   " downloaded, " + std::to_string(result.reusedCount) + " reused" +
                   (result.catalogNotModified ? ", HTTP 304" : "") + ")";
        }
    }
    logLine(line);
}

}  // namespace tarvek
