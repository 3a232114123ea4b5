#pragma once
// One whole synchronisation, run synchronously: the body of the worker thread.
#include <atomic>

#include "host/platform.h"
#include "sync/catalog_sync_request.h"
#include "sync/catalog_sync_result.h"

namespace tarvek {

// Validates, fetches, verifies and commits; every failure ends in the result, never in an
// exception.
CatalogSyncResult synchronizeCatalog(const CatalogSyncRequest& request, const std::atomic<bool>& cancel,
                                     const Platform& platform) noexcept;

}  // namespace tarvek
