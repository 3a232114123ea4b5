#include "sync/synchronize_catalog.h"

#include <filesystem>

#include "sync/cache_file_ops.h"
#include "sync/catalog_request_string.h"
#include "sync/etag_sidecar.h"
#include "sync/http_transport.h"
#include "sync/module_catalog.h"
#include "sync/request_validation.h"
#include "sync/sync_progress.h"
#include "sync/verified_cache.h"

namespace tarvek {
namespace {

void runSynchronization(CatalogSyncResult& result, const CatalogSyncRequest& request, const std::atomic<bool>& cancel,
                        const Platform& platform) {
    const ValidatedSyncRequest validated =
        validateCatalogSyncRequest(request, [&](std::u16string_view url) { return platform.crackUrl(url); });
    checkCancelAndDeadline(cancel, validated.deadline);
    ensureDirectory(request.cacheDirectory);
    const std::string requestString = buildCatalogRequestString(request);
    emitProgress(request, "downloading Tarvek module catalog");

    const std::shared_ptr<HttpTransport> transport = platform.httpTransport();
    if (!transport) throw SyncError(SyncErrorKind::Transport, "this build has no HTTP client");
    const TransferTimeouts timeouts{request.resolveTimeoutMs, request.connectTimeoutMs, request.sendTimeoutMs,
                                    request.receiveTimeoutMs};
    // Closed when this function ends, on every path.
    const auto connection = transport->openConnection(validated.origin, timeouts);

    const std::string digest = requestDigest(platform, requestString);
    const auto sidecar = readEtagSidecar(platform, request, digest);
    SyncContext context{platform, request, *connection, cancel, validated.deadline, result};
    const FetchedCatalog catalog = fetchCatalog(context, requestString, sidecar);
    result.catalogBytes = static_cast<uint32_t>(catalog.bytes.size());
    result.catalogNotModified = catalog.notModified;

    const auto assets = checkAndPlanModuleCatalog(catalog.bytes, catalogScopeOf(request));
    result.assetCount = static_cast<uint32_t>(assets.size());
    syncCatalogAssets(context, assets);
    if (!catalog.notModified) commitCatalog(platform, request, catalog, digest, cancel);

    result.errorKind = SyncErrorKind::None;
    result.message = catalog.notModified ? "catalog and ghost cache verified" : "catalog synchronized";
    emitProgress(request, "Tarvek catalog synchronized (" + std::to_string(result.downloadedCount) + " downloaded, " +
                              std::to_string(result.reusedCount) + " reused)");
}

void recordFailure(CatalogSyncResult& result, const CatalogSyncRequest& request, SyncErrorKind kind,
                   std::string message, uint32_t httpStatus = 0) {
    result.errorKind = kind;
    result.message = std::move(message);
    if (httpStatus != 0) result.httpStatus = httpStatus;
    emitProgress(request, "Tarvek catalog synchronization failed: " + result.message);
}

}  // namespace

CatalogSyncResult synchronizeCatalog(const CatalogSyncRequest& request, const std::atomic<bool>& cancel,
                                     const Platform& platform) noexcept {
    CatalogSyncResult result;
    try {
        try {
            runSynchronization(result, request, cancel, platform);
        } catch (const SyncError& error) {
            recordFailure(result, request, error.kind(), error.what(), error.httpStatus());
        } catch (const std::filesystem::filesystem_error& error) {
            recordFailure(result, request, SyncErrorKind::Filesystem, error.what());
        } catch (const std::exception& error) {
            recordFailure(result, request, SyncErrorKind::Internal, error.what());
        } catch (...) {
            result.errorKind = SyncErrorKind::Internal;
            result.message = "unknown catalog synchronization error";
            emitProgress(request, "Tarvek catalog synchronization failed: unknown error");
        }
    } catch (...) {
        // Only an allocation failure while recording the failure lands here.
        result.errorKind = SyncErrorKind::Internal;
    }
    return result;
}

}  // namespace tarvek
