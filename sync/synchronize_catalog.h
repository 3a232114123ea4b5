#pragma once
// One whole synchronisation, run synchronously: the body of the worker thread.
#include <atomic>
#include <memory>

#include "sync/catalog_sync_request.h"
#include "sync/catalog_sync_result.h"
#include "sync/http_transport.h"
#include "sync/url_cracker.h"

namespace tarvek {

// The platform services a synchronisation uses.
struct SyncEnvironment {
    std::shared_ptr<HttpTransport> transport;
    UrlCrackFn crackUrl = nullptr;
};

// WinHTTP and WinHttpCrackUrl on Windows; libcurl and the portable cracker natively.
SyncEnvironment platformSyncEnvironment();

// Validates, fetches, verifies and commits; every failure ends in the result, never in an
// exception.
CatalogSyncResult synchronizeCatalog(const CatalogSyncRequest& request, const std::atomic<bool>& cancel,
                                     const SyncEnvironment& environment) noexcept;

}  // namespace tarvek
