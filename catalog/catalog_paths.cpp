#include "catalog/catalog_paths.h"

#include "host/module_path.h"
#include "host/settings.h"

namespace tarvek {

std::string catalogFileName(std::string_view mapHash, bool isBigRR, std::string_view playerKey) {
    return "catalog-" + std::string(mapHash) + (isBigRR ? "-bigrr-" : "-ttrr-") + std::string(playerKey) + ".ini";
}

std::string withTrackRankSuffix(std::string_view path, int32_t trackRank) {
    if (trackRank == 0) return std::string(path);
    const std::string suffix = "-track-rank-" + std::to_string(trackRank);
    constexpr std::string_view kIni = ".ini";
    const bool endsInIni = path.size() >= kIni.size() && path.substr(path.size() - kIni.size()) == kIni;
    if (!endsInIni) return std::string(path) + suffix;
    return std::string(path.substr(0, path.size() - kIni.size())) + suffix + std::string(kIni);
}

std::string serverCatalogCachePath(std::string_view mapHash, bool isBigRR, std::string_view playerKey,
                                   int32_t trackRank) {
    const std::string cacheDirectory = joinModulePath(settings().moduleDirectory, kCacheDirectoryName);
    return withTrackRankSuffix(joinModulePath(cacheDirectory, catalogFileName(mapHash, isBigRR, playerKey)),
                               trackRank);
}

}  // namespace tarvek
