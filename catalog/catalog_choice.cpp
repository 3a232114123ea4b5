#include "catalog/catalog_choice.h"

#include "host/private_profile.h"
#include "host/text.h"

namespace tarvek {
namespace {

bool sameNormalized(std::string_view a, std::string_view b) { return normalizePlayerName(a) == normalizePlayerName(b); }

bool cachedPlayerMatches(const ProfileText& cache, const PlayerIdentity& identity) {
    const std::string account = cache.string("Catalog", "PlayerAccountKey");
    const std::string requested = cache.string("Catalog", "RequestedPlayerName");
    if (!identity.accountKey.empty()) return sameNormalized(account, identity.accountKey);
    if (!identity.nameUtf8.empty()) return sameNormalized(requested, identity.nameUtf8);
    return account.empty() && requested.empty();
}

bool acceptsCache(const std::string& path, std::string_view mapHash, bool isBigRR, const PlayerIdentity& identity) {
    const ProfileText cache(path);
    return cache.integer("Catalog", "SchemaVersion") == 1 &&
           sameNormalized(cache.string("Catalog", "MapHash"), mapHash) &&
           sameNormalized(cache.string("Catalog", "RaceType"), isBigRR ? "BigRR" : "TTRR") &&
           cache.string("Catalog", "GameVersion") == kSupportedGameVersion && cachedPlayerMatches(cache, identity) &&
           cache.integer("Catalog", "TrackRank") == 0;
}

bool acceptsRemote(const std::string& path, const std::string& section) {
    const ProfileText remote(path);
    return remote.hasEntries(section) && remote.string("Catalog", "GameVersion") == kSupportedGameVersion;
}

// The local catalog's section: the primary one, else the older "Map.<hash>" made for this race
// type or for none; else the primary name, which then reads as empty.
std::string localSection(const std::string& path, std::string_view mapHash, const std::string& primary,
                         bool isBigRR) {
    const ProfileText local(path);
    if (local.hasEntries(primary)) return primary;
    const std::string older = "Map." + std::string(mapHash);
    if (!local.hasEntries(older)) return primary;
    const std::string category = asciiLower(local.string(older, "Category"));
    return category.empty() || (category == "bigrr") == isBigRR ? older : primary;
}

}  // namespace

std::string primaryMapSection(std::string_view mapHash, bool isBigRR) {
    return "Map." + std::string(mapHash) + (isBigRR ? ".BigRR" : ".TTRR");
}

CatalogChoice chooseCatalog(const CatalogFiles& files, std::string_view mapHash, bool isBigRR,
                            const PlayerIdentity& identity) {
    const std::string primary = primaryMapSection(mapHash, isBigRR);
    if (acceptsCache(files.cache, mapHash, isBigRR, identity)) return {files.cache, primary, true};
    if (!files.remote.empty() && acceptsRemote(files.remote, primary)) return {files.remote, primary, true};
    return {files.local, localSection(files.local, mapHash, primary, isBigRR), false};
}

}  // namespace tarvek
