// tarvek catalog check: runs a catalog through the worker's own parse, scope check and planning,
// so maintainers see before publishing exactly what a synchronisation would accept.
#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "sync/module_catalog.h"
#include "sync/request_validation.h"
#include "sync/sync_error.h"

namespace tarvek::cli {
namespace {

struct CatalogCheckOptions {
    bool json = false;
    std::string file;
    std::string mapHash;
    std::string race;
    std::optional<int32_t> trackRank;
};

// The catalog file, or a ContentRejected error for one larger than a download may be.
std::string readCatalogFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SyncError(SyncErrorKind::Filesystem, "could not open " + path);
    std::string bytes;
    bytes.resize(kMaxCatalogBytes + 1);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) throw SyncError(SyncErrorKind::Filesystem, "could not read " + path);
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (bytes.size() > kMaxCatalogBytes)
        throw SyncError(SyncErrorKind::ContentRejected, "HTTP response exceeds the size limit");
    return bytes;
}

void printAssets(const std::vector<CatalogAsset>& assets, bool json) {
    if (json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const CatalogAsset& asset : assets)
            list.push_back({{"url", asset.url},
                            {"sha256", asset.sha256},
                            {"fileValue", asset.fileValue},
                            {"fileKey", asset.fileKey},
                            {"relativePath", asset.relativePath.generic_string()}});
        std::cout << nlohmann::ordered_json{{"ok", true}, {"assets", list}}.dump() << "\n";
        return;
    }
    std::cout << "catalog accepted: " << assets.size() << (assets.size() == 1 ? " asset" : " assets") << "\n";
    // Every value is printable ASCII without spaces, so one line per asset stays unambiguous.
    for (const CatalogAsset& asset : assets)
        std::cout << asset.url << " " << asset.sha256 << " " << asset.fileValue << " " << asset.fileKey << " "
                  << asset.relativePath.generic_string() << "\n";
}

void printRejection(const SyncError& error, bool json) {
    if (json) {
        std::cout << nlohmann::ordered_json{{"ok", false}, {"kind", syncErrorKindName(error.kind())}, {"message", error.what()}}
                         .dump()
                  << "\n";
    } else {
        std::cout << "catalog rejected (" << syncErrorKindName(error.kind()) << "): " << error.what() << "\n";
    }
}

// The scope as a request would carry it, checked by the request's own rules; empty when unscoped.
std::optional<CatalogScope> scopeFromOptions(const CatalogCheckOptions& options) {
    CatalogSyncRequest request;
    if (!options.mapHash.empty()) request.mapHash = options.mapHash;
    if (!options.race.empty()) request.raceType = options.race;
    request.trackRank = options.trackRank;
    validateRequestScope(request);
    return catalogScopeOf(request);
}

int runCatalogCheck(const CatalogCheckOptions& options) {
    std::optional<CatalogScope> scope;
    try {
        scope = scopeFromOptions(options);
    } catch (const SyncError& error) {
        std::cerr << "tarvek catalog check: " << error.what() << "\n";
        return kExitUsage;
    }
    try {
        printAssets(checkAndPlanModuleCatalog(readCatalogFile(options.file), scope), options.json);
        return kExitOk;
    } catch (const SyncError& error) {
        printRejection(error, options.json);
        return kExitRejected;
    }
}

}  // namespace

void addCatalogCommands(CLI::App& app, CommandContext& context) {
    CLI::App* catalog = app.add_subcommand("catalog", "Server catalog (module.ini) tools");
    catalog->require_subcommand(1);
    auto options = std::make_shared<CatalogCheckOptions>();
    CLI::App* check = catalog->add_subcommand(
        "check", "Check a catalog as a synchronisation would and list the ghost and tail files it plans");
    check->add_flag("--json", options->json, "Print the result as JSON");
    check->add_option("FILE", options->file, "Catalog file")->required()->check(CLI::ExistingFile);
    CLI::Option* mapHash = check->add_option("--map-hash", options->mapHash, "Map hash of a scoped request (64 hex digits)");
    CLI::Option* race = check->add_option("--race", options->race, "Race type of a scoped request (BigRR, TTRR, TrickRace, BungeeRace)");
    mapHash->needs(race);
    race->needs(mapHash);
    check->add_option("--track-rank", options->trackRank, "Tracked rank of a scoped request (1 to 999)");
    check->callback([options, &context] { context.exitStatus = runCatalogCheck(*options); });
}

}  // namespace tarvek::cli
