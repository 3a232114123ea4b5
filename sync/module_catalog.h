#pragma once
// The server catalog (module.ini): parsing, the scope check against the request and the plan of
// ghost and tail files to fetch. Every byte comes from the server and is untrusted.
#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sync/catalog_sync_request.h"

namespace tarvek {

constexpr size_t kMaxCatalogBytes = 4194304;
constexpr size_t kMaxCatalogAssets = 256;
constexpr size_t kMaxScopedCatalogAssets = 4;

// One record prefix ("WorldRecord" or "PersonalRecord") of one section. A field is present when
// its key occurred, even with an empty value. Values view into the parsed text.
struct GhostReference {
    std::optional<std::string_view> ghostPath;
    std::optional<std::string_view> ghostSha256;
    std::optional<std::string_view> ghostFile;
    std::optional<std::string_view> tailPath;
    std::optional<std::string_view> tailSha256;
    std::optional<std::string_view> tailFile;
};

struct SectionGhostReferences {
    std::string_view section;  // lower-case name, viewing into the catalog's section names
    GhostReference worldRecord;
    GhostReference personalRecord;
};

// The parse result views into the text it was parsed from and into its own section names: keep
// the text alive while the result is used. Movable, not copyable (a copy would view into the
// original's names).
struct ParsedModuleCatalog {
    ParsedModuleCatalog() = default;
    ParsedModuleCatalog(ParsedModuleCatalog&&) = default;
    ParsedModuleCatalog& operator=(ParsedModuleCatalog&&) = default;
    ParsedModuleCatalog(const ParsedModuleCatalog&) = delete;
    ParsedModuleCatalog& operator=(const ParsedModuleCatalog&) = delete;

    // Every section's lower-case name, in ascending order; views into sectionNameText.
    std::vector<std::string_view> sectionNames;
    std::map<std::string, std::string> metadata;  // [catalog] entries: lower-case key -> value
    // Sections holding at least one ghost field, in ascending order of their lower-case name
    // (the visiting order of planning).
    std::vector<SectionGhostReferences> ghostReferences;
    // The lower-case names one after another, on the heap so views stay valid when the catalog moves.
    std::unique_ptr<const std::string> sectionNameText;

    bool hasSection(std::string_view lowerSection) const;
    const SectionGhostReferences* findGhostReferences(std::string_view lowerSection) const;
};

struct CatalogScope {
    std::string mapHash;   // as the request holds it
    std::string raceType;
};

struct CatalogAsset {
    std::string url;      // normalised same-origin relative URL
    std::string sha256;   // 64 upper-case hex digits
    std::string fileValue;  // GhostFile or TailFile as written
    std::string fileKey;    // unique key of the asset
    std::filesystem::path relativePath;  // file name below the cache directory
};

// Throws SyncError InvalidCatalog. The result views into bytes.
ParsedModuleCatalog parseModuleCatalog(std::string_view bytes);

// "map." + lower-case map hash + "." + lower-case race type.
std::string allowedMapSectionName(const CatalogScope& scope);

// The scope of a scoped request; empty for an unscoped one.
std::optional<CatalogScope> catalogScopeOf(const CatalogSyncRequest& request);

// Metadata and map sections against the scope; throws SyncError InvalidCatalog.
void checkCatalogScope(const ParsedModuleCatalog& catalog, const CatalogScope& scope);

// The files to fetch, in download order; throws SyncError InvalidCatalog or UnsafeAsset.
std::vector<CatalogAsset> planCatalogAssets(const ParsedModuleCatalog& catalog, bool scoped,
                                            std::string_view allowedSection);

// Exactly 64 hex digits, returned in upper case; else SyncError InvalidCatalog.
std::string normalizeSha256Text(std::string_view text);

// Parse, scope check (when scoped) and planning, as one synchronisation does them.
std::vector<CatalogAsset> checkAndPlanModuleCatalog(std::string_view bytes,
                                                    const std::optional<CatalogScope>& scope);

}  // namespace tarvek
