#pragma once
// What one synchronisation reports to its owner.
#include <cstdint>
#include <string>
#include <vector>

#include "sync/sync_error.h"

namespace tarvek {

// One planned asset as this run left it.
struct SyncedAsset {
    std::string fileValue;  // GhostFile or TailFile as the catalog wrote it
    std::string sha256;     // upper-case hex
    uint32_t size = 0;
    bool downloaded = false;  // false: a verified cached copy was reused
};

struct CatalogSyncResult {
    SyncErrorKind errorKind = SyncErrorKind::Internal;
    std::string message;
    uint32_t httpStatus = 0;  // the last status received; a failure's own status wins
    uint32_t catalogBytes = 0;
    uint32_t assetCount = 0;
    uint32_t downloadedCount = 0;
    uint32_t reusedCount = 0;
    bool catalogNotModified = false;
    std::vector<SyncedAsset> assets;
};

}  // namespace tarvek
