#pragma once
// What the game has asked of the server and how that went, shared by the game thread and the
// catalog worker's completion callback, and the module's current worker.
//
// Two locks, never held together and never across the network or a callback: the catalog lock
// (requestKey, requestNumber, the failure record, retryNotBefore, catalogReady) and the worker
// lock (the current worker pointer).
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "host/platform.h"
#include "sync/catalog_sync_worker.h"

namespace tarvek {

struct CatalogSyncState {
    std::mutex catalogLock;
    std::string requestKey;  // empty: nothing requested for the current map
    uint64_t requestNumber = 0;
    uint64_t failedRequestNumber = 0;  // 0: no failure recorded
    std::atomic<uint32_t> failureCount{0};
    uint64_t retryNotBefore = 0;  // millisecond tick
    bool catalogReady = false;
    std::atomic<uint64_t> catalogGeneration{0};
    std::atomic<bool> trackedRankPending{false};
    std::atomic<bool> trackedRankFailed{false};  // consumed by one exchange on the game thread
    int32_t trackedRank = 0;                     // game thread; 0 = the personal record

    // A failure is recorded for the current request (catalog lock held).
    bool currentRequestFailed() const { return failedRequestNumber != 0 && failedRequestNumber == requestNumber; }
    void clearFailureRecord() {
        failedRequestNumber = 0;
        retryNotBefore = 0;
        failureCount.store(0);
    }
};

CatalogSyncState& catalogSyncState();

// The next value of the module-wide request counter (never 0).
uint64_t nextCatalogRequestNumber();

std::shared_ptr<CatalogSyncWorker> currentCatalogWorker();
void setCurrentCatalogWorker(std::shared_ptr<CatalogSyncWorker> worker);

// What the catalog side takes from the platform: the millisecond tick count, and new workers on
// the platform's HTTP client. Until bound: a monotonic clock and no workers (nothing requested).
struct CatalogServices {
    std::function<uint64_t()> ticks;
    std::function<std::shared_ptr<CatalogSyncWorker>()> makeWorker;
};
void bindCatalogServices(CatalogServices services);
// The platform's tick count and workers on the platform.
void bindCatalogPlatform(std::shared_ptr<const Platform> platform);
const CatalogServices& catalogServices();

// Starts a fresh request for a tracked rank (0: back to the personal record): the next poll asks
// for it, because the request key is dropped; a running worker is told to stop.
void beginTrackedRankRequest(int32_t rank);

// A new world: nothing requested and no tracked rank; failures and readiness stay until the key
// changes.
void forgetCatalogRequestForNewWorld();

// Back to start-up: no worker, nothing requested, no failure, generation 0, no tracked rank.
void resetCatalogSync();

}  // namespace tarvek
