#pragma once
// The module's current catalog sync worker and the worker lock that guards the handle. The
// start-up installs it; the catalog activation takes it to start requests. Never held together
// with the catalog lock.
#include <memory>
#include <mutex>

#include "sync/catalog_sync_worker.h"

namespace tarvek {

struct CatalogWorkerSlot {
    std::mutex lock;
    std::shared_ptr<CatalogSyncWorker> worker;  // empty when no API origin is configured
};

CatalogWorkerSlot& catalogWorkerSlot();

}  // namespace tarvek
