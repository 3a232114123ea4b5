#pragma once
// What the game asks the catalog worker to synchronise. Filled by the owner, validated by the
// worker before any network or file activity (request_validation.h).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace tarvek {

// The budget the module gives one synchronisation.
constexpr int32_t kModuleSyncOverallTimeoutMs = 120000;

struct CatalogSyncRequest {
    std::string apiBaseUrl;  // origin only: scheme, host, optional port (UTF-8)
    std::string seasonKey;
    std::optional<std::string> playerAccountKey;
    std::optional<std::string> playerName;
    std::optional<std::string> mapHash;   // 64 hex digits, any case
    std::optional<std::string> raceType;  // "BigRR", "TTRR", "TrickRace" or "BungeeRace"
    std::optional<int32_t> trackRank;
    std::filesystem::path catalogPath;     // absolute path of the cached catalog file
    std::filesystem::path cacheDirectory;  // absolute path of the wkTarvek.cache directory
    bool allowHttp = false;
    int32_t resolveTimeoutMs = 0;
    int32_t connectTimeoutMs = 0;
    int32_t sendTimeoutMs = 0;
    int32_t receiveTimeoutMs = 0;
    int32_t overallTimeoutMs = 0;
    std::function<void(const std::string&)> progress;  // optional progress and summary lines

    // Scoped: asks for the catalog of one map and race type, which the catalog must match.
    bool isScoped() const { return mapHash.has_value() && raceType.has_value(); }
};

}  // namespace tarvek
