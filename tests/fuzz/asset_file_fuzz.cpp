// The GhostFile/TailFile check. The first byte picks the extension (odd: tail), the rest is the value.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sync/asset_safety.h"
#include "sync/sync_error.h"
#include "tests/fuzz/asset_properties.h"

using namespace tarvek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view extension = (data[0] & 1) ? kTailExtension : kGhostExtension;
    const std::string_view value(reinterpret_cast<const char*>(data) + 1, size - 1);
    CatalogAssetFile file;
    try {
        file = checkCatalogAssetFile(value, extension);
    } catch (const SyncError& error) {
        fuzzing::require(error.kind() == SyncErrorKind::UnsafeAsset);
        return 0;
    }
    fuzzing::requireSafeRelativePath(file.relativePath, extension);
    fuzzing::require(file.fileKey == "wktarvek.cache/" + fuzzing::lower(file.relativePath.generic_string()));
    fuzzing::require(value.size() <= kMaxAssetFileValueBytes);
    return 0;
}
