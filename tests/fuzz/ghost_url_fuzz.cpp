// The ghost URL check: an accepted URL is the value with at most a "/" added, in safe bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sync/asset_safety.h"
#include "sync/sync_error.h"
#include "tests/fuzz/asset_properties.h"

using namespace tarvek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view value(reinterpret_cast<const char*>(data), size);
    std::string url;
    try {
        url = normalizeGhostUrl(value);
    } catch (const SyncError& error) {
        fuzzing::require(error.kind() == SyncErrorKind::UnsafeAsset);
        return 0;
    }
    fuzzing::requireSafeUrl(url);
    fuzzing::require(url == value || url == "/" + std::string(value));
    fuzzing::require(url.find("://") == std::string::npos && url.find('#') == std::string::npos);
    fuzzing::require(url.size() <= kMaxGhostUrlBytes + 1);
    return 0;
}
