#include "sync/sync_error.h"

namespace tarvek {

const char* syncErrorKindName(SyncErrorKind kind) {
    switch (kind) {
        case SyncErrorKind::None: return "None";
        case SyncErrorKind::InvalidRequest: return "InvalidRequest";
        case SyncErrorKind::Transport: return "Transport";
        case SyncErrorKind::HttpStatus: return "HttpStatus";
        case SyncErrorKind::InvalidCatalog: return "InvalidCatalog";
        case SyncErrorKind::UnsafeAsset: return "UnsafeAsset";
        case SyncErrorKind::ContentRejected: return "ContentRejected";
        case SyncErrorKind::Filesystem: return "Filesystem";
        case SyncErrorKind::Cancelled: return "Cancelled";
        case SyncErrorKind::Internal: return "Internal";
    }
    return "Unknown";
}

}  // namespace tarvek
