#pragma once
// The verified cache of one synchronisation: catalog revalidation, the verify-or-download loop
// over the planned assets, and the final commit of the catalog and its sidecar.
#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/platform.h"
#include "sync/catalog_sync_request.h"
#include "sync/catalog_sync_result.h"
#include "sync/etag_sidecar.h"
#include "sync/http_transport.h"
#include "sync/module_catalog.h"
#include "sync/sync_deadline.h"

namespace tarvek {

constexpr uint64_t kMaxAssetBytes = 67108864;            // one ghost or tail
constexpr uint64_t kMaxDownloadBytesPerSync = 134217728;  // all downloads of one run

struct SyncContext {
    const Platform& platform;
    const CatalogSyncRequest& request;
    HttpConnection& connection;
    const std::atomic<bool>& cancel;
    SyncClock::time_point deadline;
    CatalogSyncResult& result;
};

struct FetchedCatalog {
    std::string bytes;
    std::string etag;          // of the answer; empty when it had none
    bool notModified = false;  // 304 and the cached copy matched its sidecar
};

// Requests the catalog (conditionally when a sidecar is valid), revalidates a 304 against the
// cached copy and requires 200 otherwise.
FetchedCatalog fetchCatalog(SyncContext& context, std::string_view requestString,
                            const std::optional<EtagSidecar>& sidecar);

// Reuses every asset whose cached copy hashes right and downloads the others.
void syncCatalogAssets(SyncContext& context, const std::vector<CatalogAsset>& assets);

// The catalog, then its sidecar (or the sidecar's removal when the answer had no ETag).
void commitCatalog(const Platform& platform, const CatalogSyncRequest& request, const FetchedCatalog& catalog, std::string_view requestDigest,
                   const std::atomic<bool>& cancel);

// Both paths normalised, lower-cased and with "\" separators: how Windows would compare them.
bool samePathIgnoringCase(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace tarvek
