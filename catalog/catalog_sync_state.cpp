#include "catalog/catalog_sync_state.h"

#include <utility>

#include "race/map_ghost_pipeline.h"

namespace tarvek {
namespace {

std::atomic<uint64_t> requestCounter{0};
std::mutex workerLock;
std::shared_ptr<CatalogSyncWorker> worker;

CatalogServices& services() {
    static CatalogServices bound{&monotonicMs, nullptr};
    return bound;
}

}  // namespace

CatalogSyncState& catalogSyncState() {
    static CatalogSyncState state;
    return state;
}

uint64_t nextCatalogRequestNumber() { return requestCounter.fetch_add(1) + 1; }

std::shared_ptr<CatalogSyncWorker> currentCatalogWorker() {
    std::lock_guard lock(workerLock);
    return worker;
}

void setCurrentCatalogWorker(std::shared_ptr<CatalogSyncWorker> replacement) {
    std::shared_ptr<CatalogSyncWorker> previous;
    {
        std::lock_guard lock(workerLock);
        previous = std::exchange(worker, std::move(replacement));
    }
    // The previous worker, when this was its last owner, is destroyed outside the lock.
}

void bindCatalogServices(CatalogServices bound) { services() = std::move(bound); }

void bindCatalogPlatform(std::shared_ptr<const Platform> platform) {
    bindCatalogServices({[platform] { return platform->tickCountMs(); },
                         [platform] { return std::make_shared<CatalogSyncWorker>(platform); }});
}
const CatalogServices& catalogServices() { return services(); }

void beginTrackedRankRequest(int32_t rank) {
    CatalogSyncState& state = catalogSyncState();
    {
        std::lock_guard lock(state.catalogLock);
        state.requestNumber = nextCatalogRequestNumber();
        state.trackedRank = rank;
        state.trackedRankPending = true;
        state.trackedRankFailed = false;
        state.requestKey.clear();
        state.catalogReady = false;
        state.clearFailureRecord();
    }
    if (const auto running = currentCatalogWorker(); running && running->isRunning()) running->requestCancel();
}

void forgetCatalogRequestForNewWorld() {
    CatalogSyncState& state = catalogSyncState();
    std::lock_guard lock(state.catalogLock);
    state.requestKey.clear();
    state.trackedRank = 0;
    state.trackedRankPending = false;
    state.trackedRankFailed = false;
}

void resetCatalogSync() {
    setCurrentCatalogWorker(nullptr);
    CatalogSyncState& state = catalogSyncState();
    std::lock_guard lock(state.catalogLock);
    state.requestKey.clear();
    state.requestNumber = 0;
    state.clearFailureRecord();
    state.catalogReady = false;
    state.catalogGeneration = 0;
    state.trackedRankPending = false;
    state.trackedRankFailed = false;
    state.trackedRank = 0;
}

}  // namespace tarvek
