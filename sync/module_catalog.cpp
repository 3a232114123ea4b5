#include "sync/module_catalog.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <unordered_map>

#include "host/text.h"
#include "sync/asset_safety.h"
#include "sync/sync_error.h"

namespace tarvek {
namespace {

[[noreturn]] void invalidCatalog(const std::string& message) {
    throw SyncError(SyncErrorKind::InvalidCatalog, message);
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The catalog's own white-space set: VT and FF count too (TAB to CR are 9 to 13).
bool isCatalogSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

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

// Keys of one section mostly share their beginning ("WorldRecordGhost..."): the end tells them
// apart soonest.
bool sameKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size() || (!a.empty() && lowerAscii(a.back()) != lowerAscii(b.back()))) return false;
    return equalsIgnoreAsciiCase(a, b);
}

// The keys of the current section. Sections are short: a linear scan beats tree nodes until a
// section grows large, and then the tree keeps a hostile section from going quadratic.
class SectionKeySet {
public:
    void clear() {
        few_.clear();
        many_.clear();
    }
    // False when the key (ignoring case) is already present.
    bool insert(std::string_view key) {
        if (few_.size() < kLinearLimit) {
            for (std::string_view existing : few_)
                if (sameKey(existing, key)) return false;
            few_.push_back(key);
            if (few_.size() == kLinearLimit) many_.insert(few_.begin(), few_.end());
            return true;
        }
        return many_.insert(key).second;
    }

private:
    static constexpr size_t kLinearLimit = 32;
    std::vector<std::string_view> few_;
    std::set<std::string_view, IgnoreCaseLess> many_;
};

// Which ghost field a key names: 0 to 5 for the world-record fields, 6 to 11 for the
// personal-record ones (GhostPath, GhostSha256, GhostFile, TailPath, TailSha256, TailFile);
// -1 for any other key.
// Comparisons against fixed words with their length known at compile time, so they compile
// to a few instructions instead of library calls on every line.
template <size_t N>
bool isWord(std::string_view text, const char (&word)[N]) {
    return text.size() == N - 1 && std::memcmp(text.data(), word, N - 1) == 0;
}
template <size_t N>
bool beginsWithWord(std::string_view text, const char (&word)[N]) {
    return text.size() >= N - 1 && std::memcmp(text.data(), word, N - 1) == 0;
}

int ghostFieldIndex(std::string_view key) {
    // Every line of a catalog is a candidate: lower-case the key once, on the stack. The whole
    // buffer is lower-cased, a fixed count the compiler turns into a few vector instructions.
    constexpr size_t kShortest = 11 + 8, kLongest = 14 + 11;
    if (key.size() < kShortest || key.size() > kLongest) return -1;
    char buffer[32] = {};
    std::memcpy(buffer, key.data(), key.size());
    for (char& c : buffer) c = lowerAscii(c);
    std::string_view lower(buffer, key.size());
    int base;
    if (beginsWithWord(lower, "worldrecord")) {
        base = 0;
        lower.remove_prefix(11);
    } else if (beginsWithWord(lower, "personalrecord")) {
        base = 6;
        lower.remove_prefix(14);
    } else {
        return -1;
    }
    if (isWord(lower, "ghostpath")) return base + 0;
    if (isWord(lower, "ghostsha256")) return base + 1;
    if (isWord(lower, "ghostfile")) return base + 2;
    if (isWord(lower, "tailpath")) return base + 3;
    if (isWord(lower, "tailsha256")) return base + 4;
    if (isWord(lower, "tailfile")) return base + 5;
    return -1;
}

std::optional<std::string_view>& ghostField(SectionGhostReferences& section, int index) {
    GhostReference& reference = index < 6 ? section.worldRecord : section.personalRecord;
    std::optional<std::string_view>* fields[] = {&reference.ghostPath, &reference.ghostSha256, &reference.ghostFile,
                                            &reference.tailPath,  &reference.tailSha256,  &reference.tailFile};
    return *fields[index % 6];
}

// One section header as read. Its lower-case name sits in the parser's name text, which grows
// while reading, so views into it are made only once every name is known.
struct SectionRecord {
    size_t nameOffset;
    size_t nameSize;
    size_t ghostIndex;  // its entry in ghostReferences, or kNoGhosts
};
constexpr size_t kNoGhosts = SIZE_MAX;

struct NamedSection {
    std::string_view name;
    size_t ghostIndex;
};

// Every section by name in ascending order. Sorting once is cheaper than keeping a sorted set
// while reading: the names of a catalog share long beginnings ("map.<hash>.<race>.player.").
std::vector<NamedSection> sortSections(const std::vector<SectionRecord>& sections, std::string_view nameText) {
    std::vector<NamedSection> sorted;
    sorted.reserve(sections.size());
    for (const SectionRecord& section : sections)
        sorted.push_back({nameText.substr(section.nameOffset, section.nameSize), section.ghostIndex});
    std::sort(sorted.begin(), sorted.end(), [](const NamedSection& a, const NamedSection& b) { return a.name < b.name; });
    return sorted;
}

void throwIfRepeated(const std::vector<NamedSection>& sorted) {
    const auto same = [](const NamedSection& a, const NamedSection& b) { return a.name == b.name; };
    if (std::adjacent_find(sorted.begin(), sorted.end(), same) != sorted.end())
        invalidCatalog("duplicate or empty INI section");
}

// One pass over the lines; state of the section being read.
class CatalogParser {
public:
    ParsedModuleCatalog parse(std::string_view text) {
        try {
            readLines(text);
        } catch (const SyncError&) {
            // Repeated section names are looked for once all are known, but one before the line
            // that failed came first: it is the error to report.
            throwIfRepeated(sortSections(sections_, nameText_));
            throw;
        }
        return finish();
    }

private:
    void readLines(std::string_view text) {
        size_t lineNumber = 1;
        for (size_t begin = 0;; ++lineNumber) {
            const void* newline = std::memchr(text.data() + begin, '\n', text.size() - begin);
            const size_t end = newline ? static_cast<const char*>(newline) - text.data() : text.size();
            parseLine(trimCatalogText(text.substr(begin, end - begin)), lineNumber);
            if (!newline) break;
            begin = end + 1;
        }
    }

    ParsedModuleCatalog finish() {
        catalog_.sectionNameText = std::make_unique<const std::string>(std::move(nameText_));
        const std::vector<NamedSection> sorted = sortSections(sections_, *catalog_.sectionNameText);
        throwIfRepeated(sorted);
        putInNameOrder(sorted);
        return std::move(catalog_);
    }

    // Section names and ghost references into the visiting order; each entry moves once.
    void putInNameOrder(const std::vector<NamedSection>& sorted) {
        std::vector<SectionGhostReferences>& entries = catalog_.ghostReferences;
        std::vector<SectionGhostReferences> ordered;
        ordered.reserve(entries.size());
        catalog_.sectionNames.reserve(sorted.size());
        for (const NamedSection& section : sorted) {
            catalog_.sectionNames.push_back(section.name);
            if (section.ghostIndex == kNoGhosts) continue;
            ordered.push_back(std::move(entries[section.ghostIndex]));
            ordered.back().section = section.name;
        }
        entries = std::move(ordered);
    }

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
        // A repeated name is found when the names are sorted at the end.
        sections_.push_back({nameText_.size(), name.size(), kNoGhosts});
        nameText_.append(name);
        for (size_t i = nameText_.size() - name.size(); i < nameText_.size(); ++i) nameText_[i] = lowerAscii(nameText_[i]);
        sectionKeys_.clear();
        sectionGhostFields_ = 0;
        inCatalogSection_ = equalsIgnoreAsciiCase(name, "catalog");
    }

    void parseEntry(std::string_view line, size_t lineNumber) {
        const size_t equals = line.find('=');
        if (sections_.empty() || equals == std::string_view::npos)
            invalidCatalog("invalid INI entry at line " + std::to_string(lineNumber));
        const std::string_view key = trimCatalogText(line.substr(0, equals));
        const std::string_view value = trimCatalogText(line.substr(equals + 1));
        const int field = ghostFieldIndex(key);
        if (key.empty() || !isNewKey(key, field)) invalidCatalog("duplicate or empty INI key");
        if (inCatalogSection_) catalog_.metadata.emplace(asciiLower(key), std::string(value));
        if (field < 0) return;
        size_t& ghostIndex = sections_.back().ghostIndex;
        if (ghostIndex == kNoGhosts) {
            ghostIndex = catalog_.ghostReferences.size();
            catalog_.ghostReferences.emplace_back();
        }
        ghostField(catalog_.ghostReferences[ghostIndex], field) = value;
    }

    // Two keys naming a ghost field are equal exactly when they name the same field, so those
    // keys need only a bit each; the key set holds the others.
    bool isNewKey(std::string_view key, int field) {
        if (field < 0) return sectionKeys_.insert(key);
        const uint32_t bit = uint32_t{1} << field;
        if (sectionGhostFields_ & bit) return false;
        sectionGhostFields_ |= bit;
        return true;
    }

    ParsedModuleCatalog catalog_;
    std::string nameText_;  // lower-case section names one after another
    std::vector<SectionRecord> sections_;
    SectionKeySet sectionKeys_;
    uint32_t sectionGhostFields_ = 0;  // bit i: ghost field i occurred in this section
    bool inCatalogSection_ = false;
};

bool isPresentAndNonEmpty(const std::optional<std::string_view>& field) { return field.has_value() && !field->empty(); }

// The file name part of a file key ("wktarvek.cache/<name>").
std::string_view fileNameOfKey(std::string_view fileKey) { return fileKey.substr(fileKey.find('/') + 1); }

class AssetPlanner {
public:
    AssetPlanner(bool scoped, std::string_view allowedSection) : scoped_(scoped), allowedSection_(allowedSection) {}

    void visit(std::string_view section, const GhostReference& reference) {
        if (!reference.ghostPath && !reference.ghostSha256 && !reference.ghostFile) return;
        if (!isAllowedSection(section)) invalidCatalog("ghost fields appear outside an allowed map section");
        if (!isPresentAndNonEmpty(reference.ghostPath) || !isPresentAndNonEmpty(reference.ghostSha256) ||
            !isPresentAndNonEmpty(reference.ghostFile))
            invalidCatalog("each ghost requires GhostPath, GhostSha256 and GhostFile");
        // The checks are pure: a reference repeating an accepted ghost value for value would pass
        // them again and end at its equal duplicate, so it ends here without the work.
        const auto seen = acceptedGhosts_.find(*reference.ghostFile);
        if (seen != acceptedGhosts_.end() && seen->second.first == *reference.ghostPath &&
            seen->second.second == *reference.ghostSha256)
            return;
        CatalogAsset ghost = makeAsset(*reference.ghostPath, *reference.ghostSha256, *reference.ghostFile,
                                       kGhostExtension);
        if (fileNameOfKey(ghost.fileKey) != asciiLower(ghost.sha256) + std::string(kGhostExtension))
            throw SyncError(SyncErrorKind::UnsafeAsset, "GhostFile must use its SHA-256 as its filename");
        const std::string ghostSha = ghost.sha256;
        const bool added = add(std::move(ghost), "the same GhostFile is assigned conflicting content",
                               "catalog references too many ghosts");
        acceptedGhosts_.emplace(*reference.ghostFile, std::make_pair(*reference.ghostPath, *reference.ghostSha256));
        if (!added) return;

        const bool anyTail = reference.tailPath || reference.tailSha256 || reference.tailFile;
        if (!anyTail) return;
        if (!isPresentAndNonEmpty(reference.tailPath) || !isPresentAndNonEmpty(reference.tailSha256) ||
            !isPresentAndNonEmpty(reference.tailFile))
            invalidCatalog("each visual tail requires TailPath, TailSha256 and TailFile");
        CatalogAsset tail = makeAsset(*reference.tailPath, *reference.tailSha256, *reference.tailFile, kTailExtension);
        if (fileNameOfKey(tail.fileKey) != asciiLower(ghostSha) + std::string(kTailExtension))
            throw SyncError(SyncErrorKind::UnsafeAsset, "TailFile must use its base ghost SHA-256 as its filename");
        add(std::move(tail), "the same TailFile is assigned conflicting content", "catalog references too many assets");
    }

    std::vector<CatalogAsset> take() { return std::move(assets_); }

private:
    bool isAllowedSection(std::string_view section) const {
        if (!scoped_) return beginsWithWord(section, "map.");
        return section == allowedSection_ ||
               (startsWith(section, allowedSection_) && startsWith(section.substr(allowedSection_.size()), ".player."));
    }

    static CatalogAsset makeAsset(std::string_view url, std::string_view sha, std::string_view file,
                                  std::string_view extension) {
        CatalogAsset asset;
        asset.url = normalizeGhostUrl(url);
        asset.sha256 = normalizeSha256Text(sha);
        CatalogAssetFile checked = checkCatalogAssetFile(file, extension);
        asset.fileValue = std::string(file);
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
    // Raw GhostFile value -> raw GhostPath and GhostSha256 of a ghost already planned.
    std::unordered_map<std::string_view, std::pair<std::string_view, std::string_view>> acceptedGhosts_;
};

}  // namespace

bool ParsedModuleCatalog::hasSection(std::string_view lowerSection) const {
    return std::binary_search(sectionNames.begin(), sectionNames.end(), lowerSection);
}

const SectionGhostReferences* ParsedModuleCatalog::findGhostReferences(std::string_view lowerSection) const {
    const auto it = std::lower_bound(ghostReferences.begin(), ghostReferences.end(), lowerSection,
                                     [](const SectionGhostReferences& entry, std::string_view name) { return entry.section < name; });
    return it != ghostReferences.end() && it->section == lowerSection ? &*it : nullptr;
}

ParsedModuleCatalog parseModuleCatalog(std::string_view bytes) {
    if (bytes.empty()) invalidCatalog("catalog is empty");
    if (std::memchr(bytes.data(), '\0', bytes.size()) != nullptr) invalidCatalog("catalog contains a NUL byte");
    if (startsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return CatalogParser().parse(bytes);
}

std::string allowedMapSectionName(const CatalogScope& scope) {
    return "map." + asciiLower(scope.mapHash) + "." + asciiLower(scope.raceType);
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
    if (!schema || !mapHash || !raceType || *schema != "1" || asciiLower(*mapHash) != asciiLower(scope.mapHash) ||
        *raceType != scope.raceType)
        invalidCatalog("catalog metadata does not match the requested map/race scope");
    const std::string allowed = allowedMapSectionName(scope);
    const std::string allowedPlayer = allowed + ".player.";
    for (std::string_view name : catalog.sectionNames)
        if (startsWith(name, "map.") && name != allowed && !startsWith(name, allowedPlayer))
            invalidCatalog("catalog contains a map section outside the requested scope");
}

std::vector<CatalogAsset> planCatalogAssets(const ParsedModuleCatalog& catalog, bool scoped,
                                            std::string_view allowedSection) {
    AssetPlanner planner(scoped, allowedSection);
    for (const SectionGhostReferences& references : catalog.ghostReferences)
        planner.visit(references.section, references.worldRecord);
    for (const SectionGhostReferences& references : catalog.ghostReferences)
        planner.visit(references.section, references.personalRecord);
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
