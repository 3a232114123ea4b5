#pragma once
// Runs one catalog synchronisation at a time on a thread of its own and hands its result to a
// completion callback on that thread.
#include <functional>
#include <memory>

#include "sync/catalog_sync_request.h"
#include "sync/catalog_sync_result.h"
#include "sync/synchronize_catalog.h"

namespace tarvek {

class CatalogSyncWorker {
public:
    using CompletionCallback = std::function<void(CatalogSyncResult)>;

    // The platform is shared with the worker's thread, which may outlive the worker.
    explicit CatalogSyncWorker(std::shared_ptr<const Platform> platform);
    // Stops delivering results, cancels the run and waits for its thread (or detaches it when
    // called from that thread, e.g. by a callback that drops the last owner).
    ~CatalogSyncWorker();
    CatalogSyncWorker(const CatalogSyncWorker&) = delete;
    CatalogSyncWorker& operator=(const CatalogSyncWorker&) = delete;

    // False, leaving request and callback unused, while a run is active. Throws
    // std::system_error "thread constructor failed" when no thread can be created.
    bool start(CatalogSyncRequest request, CompletionCallback onComplete);
    void requestCancel();
    bool isRunning() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace tarvek
