#include "sync/module_catalog.h"

#include <cstring>

#include "sync/asset_safety.h"
#include "sync/sync_error.h"

namespace tarvek {
namespace {

[[noreturn]] void invalidCatalog(const std::string& message) {
    throw SyncError(SyncErrorKind::InvalidCatalog, message);
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowerCopy(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

bool equalsLower(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size()) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (lowerAscii(text[i]) != lowerWord[i]) return false;
    return true;
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The catalog's own white-space set: VT and FF count too.
bool isCatalogSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view trimCatalogText(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && isCatalogSpace(text[begin])) ++begin;
    while (end > begin && isCatalogSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// Orders keys by their lower-case form without building it.
struct IgnoreCaseLess {
    bool operator()(std::string_view a, std::string_view b) const {
        const size_t n = std::min(a.size(), b.size());
        for (size_t i = 0; i < n; ++i) {
            const char x = lowerAscii(a[i]), y = lowerAscii(b[i]);
            if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        }
        return a.size() < b.size();
    }
};

// Which ghost field a key names: 0 to 5 for the world-record fields, 6 to 11 for the
// personal-record ones (GhostPath, GhostSha256, GhostFile, TailPath, TailSha256, TailFile);
// -1 for any other key.
int ghostFieldIndex(std::string_view key) {
    static constexpr std::string_view kSuffixes[] = {"ghostpath", "ghostsha256", "ghostfile",
                                                     "tailpath",  "tailsha256",  "tailfile"};
    int base;
    if (key.size() > 11 && equalsLower(key.substr(0, 11), "worldrecord")) {
        base = 0;
        key.remove_prefix(11);
    } else if (key.size() > 14 && equalsLower(key.substr(0, 14), "personalrecord")) {
        base = 6;
        key.remove_prefix(14);
    } else {
        return -1;
    }
    for (int i = 0; i < 6; ++i)
        if (equalsLower(key, kSuffixes[i])) return base + i;
    return -1;
}

std::optional<std::string>& ghostField(SectionGhostReferences& section, int index) {
    GhostReference& reference = index < 6 ? section.worldRecord : section.personalRecord;
    std::optional<std::string>* fields[] = {&reference.ghostPath, &reference.ghostSha256, &reference.ghostFile,
                                            &reference.tailPath,  &reference.tailSha256,  &reference.tailFile};
    return *fields[index % 6];
}

// One pass over the lines; state of the section being read.
class CatalogParser {
public:
    ParsedModuleCatalog parse(std::string_view text) {
        size_t lineNumber = 1;
        for (size_t begin = 0;; ++lineNumber) {
            const void* newline = std::memchr(text.data() + begin, '\n', text.size() - begin);
            const size_t end = newline ? static_cast<const char*>(newline) - text.data() : text.size();
            parseLine(trimCatalogText(text.substr(begin, end - begin)), lineNumber);
            if (!newline) break;
            begin = end + 1;
        }
        return std::move(catalog_);
    }

private:
    void parseLine(std::string_view line, size_t lineNumber) {
        if (line.empty() || line[0] == '#' || line[0] == ';') return;
        if (line[0] == '[') {
            parseHeader(line, lineNumber);
        } else {
            parseEntry(line, lineNumber);
        }
    }

    void parseHeader(std::string_view line, size_t lineNumber) {
        if (line.size() < 3 || line.back() != ']') invalidCatalog("invalid INI section at line " + std::to_string(lineNumber));
        const std::string_view name = trimCatalogText(line.substr(1, line.size() - 2));
        if (name.empty()) invalidCatalog("duplicate or empty INI section");
        auto [it, inserted] = catalog_.sectionNames.insert(lowerCopy(name));
        if (!inserted) invalidCatalog("duplicate or empty INI section");
        section_ = &*it;
        sectionKeys_.clear();
        sectionGhosts_ = nullptr;
        inCatalogSection_ = *section_ == "catalog";
    }

    void parseEntry(std::string_view line, size_t lineNumber) {
        const size_t equals = line.find('=');
        if (section_ == nullptr || equals == std::string_view::npos)
            invalidCatalog("invalid INI entry at line " + std::to_string(lineNumber));
        const std::string_view key = trimCatalogText(line.substr(0, equals));
        const std::string_view value = trimCatalogText(line.substr(equals + 1));
        if (key.empty() || !sectionKeys_.insert(key).second) invalidCatalog("duplicate or empty INI key");
        if (inCatalogSection_) catalog_.metadata.emplace(lowerCopy(key), std::string(value));
        const int field = ghostFieldIndex(key);
        if (field < 0) return;
        if (sectionGhosts_ == nullptr) sectionGhosts_ = &catalog_.ghostReferences[*section_];
        ghostField(*sectionGhosts_, field) = std::string(value);
    }

    ParsedModuleCatalog catalog_;
    const std::string* section_ = nullptr;
    std::set<std::string_view, IgnoreCaseLess> sectionKeys_;
    SectionGhostReferences* sectionGhosts_ = nullptr;
    bool inCatalogSection_ = false;
};

bool isPresentAndNonEmpty(const std::optional<std::string>& field) { return field.has_value() && !field->empty(); }

// The file name part of a file key ("wktarvek.cache/<name>").
std::string_view fileNameOfKey(std::string_view fileKey) { return fileKey.substr(fileKey.find('/') + 1); }

class AssetPlanner {
public:
    AssetPlanner(bool scoped, std::string_view allowedSection) : scoped_(scoped), allowedSection_(allowedSection) {}

    void visit(const std::string& section, const GhostReference& reference) {
        if (!reference.ghostPath && !reference.ghostSha256 && !reference.ghostFile) return;
        if (!isAllowedSection(section)) invalidCatalog("ghost fields appear outside an allowed map section");
        if (!isPresentAndNonEmpty(reference.ghostPath) || !isPresentAndNonEmpty(reference.ghostSha256) ||
            !isPresentAndNonEmpty(reference.ghostFile))
            invalidCatalog("each ghost requires GhostPath, GhostSha256 and GhostFile");
        CatalogAsset ghost = makeAsset(*reference.ghostPath, *reference.ghostSha256, *reference.ghostFile,
                                       kGhostExtension);
        if (fileNameOfKey(ghost.fileKey) != lowerCopy(ghost.sha256) + std::string(kGhostExtension))
            throw SyncError(SyncErrorKind::UnsafeAsset, "GhostFile must use its SHA-256 as its filename");
        const std::string ghostSha = ghost.sha256;
        if (!add(std::move(ghost), "the same GhostFile is assigned conflicting content",
                 "catalog references too many ghosts"))
            return;

        const bool anyTail = reference.tailPath || reference.tailSha256 || reference.tailFile;
        if (!anyTail) return;
        if (!isPresentAndNonEmpty(reference.tailPath) || !isPresentAndNonEmpty(reference.tailSha256) ||
            !isPresentAndNonEmpty(reference.tailFile))
            invalidCatalog("each visual tail requires TailPath, TailSha256 and TailFile");
        CatalogAsset tail = makeAsset(*reference.tailPath, *reference.tailSha256, *reference.tailFile, kTailExtension);
        if (fileNameOfKey(tail.fileKey) != lowerCopy(ghostSha) + std::string(kTailExtension))
            throw SyncError(SyncErrorKind::UnsafeAsset, "TailFile must use its base ghost SHA-256 as its filename");
        add(std::move(tail), "the same TailFile is assigned conflicting content", "catalog references too many assets");
    }

    std::vector<CatalogAsset> take() { return std::move(assets_); }

private:
    bool isAllowedSection(std::string_view section) const {
        if (!scoped_) return startsWith(section, "map.");
        return section == allowedSection_ ||
               (startsWith(section, allowedSection_) && startsWith(section.substr(allowedSection_.size()), ".player."));
    }

    static CatalogAsset makeAsset(const std::string& url, const std::string& sha, const std::string& file,
                                  std::string_view extension) {
        CatalogAsset asset;
        asset.url = normalizeGhostUrl(url);
        asset.sha256 = normalizeSha256Text(sha);
        CatalogAssetFile checked = checkCatalogAssetFile(file, extension);
        asset.fileValue = file;
        asset.fileKey = std::move(checked.fileKey);
        asset.relativePath = std::move(checked.relativePath);
        return asset;
    }

    // False when an equal asset is already planned (the reference ends there).
    bool add(CatalogAsset asset, const char* conflictMessage, const char* tooManyMessage) {
        const auto found = indexByKey_.find(asset.fileKey);
        if (found != indexByKey_.end()) {
            const CatalogAsset& existing = assets_[found->second];
            if (existing.sha256 == asset.sha256 && existing.url == asset.url) return false;
            invalidCatalog(conflictMessage);
        }
        indexByKey_.emplace(asset.fileKey, assets_.size());
        assets_.push_back(std::move(asset));
        if (assets_.size() > kMaxCatalogAssets) invalidCatalog(tooManyMessage);
        return true;
    }

    bool scoped_;
    std::string_view allowedSection_;
    std::vector<CatalogAsset> assets_;
    std::map<std::string, size_t, std::less<>> indexByKey_;
};

}  // namespace

ParsedModuleCatalog parseModuleCatalog(std::string_view bytes) {
    if (bytes.empty()) invalidCatalog("catalog is empty");
    if (std::memchr(bytes.data(), '\0', bytes.size()) != nullptr) invalidCatalog("catalog contains a NUL byte");
    if (startsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return CatalogParser().parse(bytes);
}

std::string allowedMapSectionName(const CatalogScope& scope) {
    return "map." + lowerCopy(scope.mapHash) + "." + lowerCopy(scope.raceType);
}

std::optional<CatalogScope> catalogScopeOf(const CatalogSyncRequest& request) {
    if (!request.isScoped()) return std::nullopt;
    return CatalogScope{*request.mapHash, *request.raceType};
}

void checkCatalogScope(const ParsedModuleCatalog& catalog, const CatalogScope& scope) {
    const auto value = [&](const char* key) -> const std::string* {
        const auto it = catalog.metadata.find(key);
        return it == catalog.metadata.end() ? nullptr : &it->second;
    };
    const std::string* schema = value("schemaversion");
    const std::string* mapHash = value("maphash");
    const std::string* raceType = value("racetype");
    if (!schema || !mapHash || !raceType || *schema != "1" || lowerCopy(*mapHash) != lowerCopy(scope.mapHash) ||
        *raceType != scope.raceType)
        invalidCatalog("catalog metadata does not match the requested map/race scope");
    const std::string allowed = allowedMapSectionName(scope);
    const std::string allowedPlayer = allowed + ".player.";
    for (const std::string& name : catalog.sectionNames)
        if (startsWith(name, "map.") && name != allowed && !startsWith(name, allowedPlayer))
            invalidCatalog("catalog contains a map section outside the requested scope");
}

std::vector<CatalogAsset> planCatalogAssets(const ParsedModuleCatalog& catalog, bool scoped,
                                            std::string_view allowedSection) {
    AssetPlanner planner(scoped, allowedSection);
    for (const auto& [section, references] : catalog.ghostReferences) planner.visit(section, references.worldRecord);
    for (const auto& [section, references] : catalog.ghostReferences) planner.visit(section, references.personalRecord);
    std::vector<CatalogAsset> assets = planner.take();
    if (scoped && assets.size() > kMaxScopedCatalogAssets)
        invalidCatalog("scoped catalog references more than its WR and PR ghost/tail pairs");
    return assets;
}

std::string normalizeSha256Text(std::string_view text) {
    if (text.size() != 64) invalidCatalog("catalog contains an invalid SHA-256");
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
        else if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) invalidCatalog("catalog contains an invalid SHA-256");
    }
    return out;
}

std::vector<CatalogAsset> checkAndPlanModuleCatalog(std::string_view bytes, const std::optional<CatalogScope>& scope) {
    const ParsedModuleCatalog catalog = parseModuleCatalog(bytes);
    if (!scope) return planCatalogAssets(catalog, false, {});
    checkCatalogScope(catalog, *scope);
    return planCatalogAssets(catalog, true, allowedMapSectionName(*scope));
}

}  // namespace tarvek
