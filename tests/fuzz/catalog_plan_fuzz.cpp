// The catalog parser with the scope check and planning. The first byte picks the request: odd for
// the scope below, even for an unscoped request; the rest is the catalog text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "sync/module_catalog.h"
#include "sync/sync_error.h"
#include "tests/fuzz/asset_properties.h"

using namespace tarvek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool scoped = data[0] & 1;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::optional<CatalogScope> scope;
    if (scoped) scope = CatalogScope{"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", "BigRR"};
    std::vector<CatalogAsset> assets;
    try {
        assets = checkAndPlanModuleCatalog(text, scope);
    } catch (const SyncError& error) {
        fuzzing::require(error.kind() == SyncErrorKind::InvalidCatalog || error.kind() == SyncErrorKind::UnsafeAsset);
        return 0;
    }
    fuzzing::require(std::memchr(text.data(), '\0', text.size()) == nullptr);
    fuzzing::require(assets.size() <= (scoped ? kMaxScopedCatalogAssets : kMaxCatalogAssets));
    for (const CatalogAsset& asset : assets) {
        fuzzing::requireSafeUrl(asset.url);
        const bool ghost = asset.fileKey.size() >= 8 && asset.fileKey.compare(asset.fileKey.size() - 8, 8, ".tkghost") == 0;
        fuzzing::requireSafeRelativePath(asset.relativePath, ghost ? ".tkghost" : ".tktail");
        fuzzing::require(asset.sha256.size() == 64 && asset.sha256.find_first_not_of("0123456789ABCDEF") == std::string::npos);
        fuzzing::require(asset.fileKey == "wktarvek.cache/" + fuzzing::lower(asset.relativePath.generic_string()));
    }
    return 0;
}
