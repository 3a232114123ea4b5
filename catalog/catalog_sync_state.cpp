#include "catalog/catalog_sync_state.h"

#include <chrono>
#include <utility>

namespace tarvek {
namespace {

std::atomic<uint64_t> requestCounter{0};
std::mutex workerLock;
std::shared_ptr<CatalogSyncWorker> worker;

CatalogServices& services() {
    static CatalogServices bound{
        [] {
            return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                             std::chrono::steady_clock::now().time_since_epoch())
                                             .count());
        },
        // A worker needs the platform's services: the start-up binds a maker that has them.
        [] { return std::shared_ptr<CatalogSyncWorker>(); }};
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

}  // namespace tarvek
