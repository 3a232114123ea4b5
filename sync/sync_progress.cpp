#include "sync/sync_progress.h"

namespace tarvek {

void emitProgress(const CatalogSyncRequest& request, const std::string& line) noexcept {
    if (!request.progress) return;
    try {
        request.progress(line);
    } catch (...) {
        // A failing observer must not change the outcome of the synchronisation.
    }
}

}  // namespace tarvek
