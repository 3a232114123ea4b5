#include "catalog/tracked_rank.h"

#include <string>

#include "catalog/catalog_sync_state.h"
#include "catalog/chat_output.h"
#include "catalog/chat_replies.h"
#include "catalog/catalog_paths.h"
#include "catalog/code_pages.h"
#include "catalog/map_selection.h"
#include "catalog/player_identity.h"
#include "ghostdata/ghost_loader.h"
#include "ghostdata/visual_tail.h"
#include "host/module_path.h"
#include "host/private_profile.h"
#include "host/settings.h"
#include "race/frame_driver.h"
#include "race/map_ghost_pipeline.h"
#include "race/race_state.h"
#include "race/race_type.h"

namespace tarvek {
namespace {

void forgetPersonalRecord() {
    Settings& config = settings();
    config.personalGhostFile.clear();
    config.personalRecordSet = false;
}

// Loads file into the blue slot in place of its ghost; false (slot untouched) when it fails.
bool loadBlueGhost(const std::string& file, const std::string& playerNameUtf8, int32_t rank) {
    const char* label = rank != 0 ? "tracked-rank" : "personal-record";
    const std::string path = joinModulePath(settings().moduleDirectory, file);
    GhostRecording loaded;
    if (!loadGhostRecording(path, loaded, label)) return false;
    loadVisualTail(path, loaded, label);
    replaceGhostRecording(kBlueSlot, std::move(loaded));
    Settings& config = settings();
    config.personalGhostFile = file;
    config.personalRecordSet = true;
    config.personalRecordPlayerName = convertCodePage(playerNameUtf8, kUtf8CodePage, kAnsiCodePage);
    mapSelection().blueFilled = true;
    return true;
}

std::string outcomeOf(const std::string& catalog, const std::string& mapSection, int32_t rank) {
    std::string playerSection;
    if (rank != 0) playerSection = mapSection + ".Player.__track__";
    else if (const std::string& key = mapSelection().playerAccountKey; !key.empty())
        playerSection = mapSection + ".Player." + key;
    const std::string file =
        playerSection.empty() ? "" : readProfileString(catalog, playerSection, "PersonalRecordGhostFile", "");
    if (file.empty()) {
        if (rank != 0) return std::string(chat_reply::kRankNotLoaded);
        replaceGhostRecording(kBlueSlot, GhostRecording{});
        forgetPersonalRecord();
        mapSelection().blueFilled = false;
        return std::string(chat_reply::kPersonalBestMissing);
    }
    const std::string name = readProfileString(catalog, playerSection, "PersonalRecordPlayerName", "");
    if (!loadBlueGhost(file, name, rank)) return std::string(chat_reply::kGhostInvalid);
    if (rank == 0) return std::string(chat_reply::kPersonalBestBlue);
    return chat_reply::rankIsBlue(rank, settings().personalRecordPlayerName);
}

}  // namespace

bool applyTrackedRankCatalog(HostAddr world) {
    CatalogSyncState& state = catalogSyncState();
    const std::string& mapHash = mapPipeline().activeMapHash;
    if (mapHash.empty()) return false;
    const int32_t rank = state.trackedRank;
    const bool isBigRR = raceType().isBigRR;
    const PlayerIdentity identity = buildPlayerIdentity(detectLocalPlayerName(world).name);
    const std::string catalog = serverCatalogCachePath(mapHash, isBigRR, identity.playerKey, rank);
    if (readProfileInt(catalog, "Catalog", "TrackRank", 0) != rank) return false;

    std::string line;
    const std::string status = rank != 0 ? readProfileString(catalog, "Catalog", "TrackStatus", "") : "ready";
    if (status != "ready") line = chat_reply::forTrackStatus(status);
    else line = outcomeOf(catalog, "Map." + mapHash + (isBigRR ? ".BigRR" : ".TTRR"), rank);
    postChatLine(line, world);
    state.trackedRankPending = false;
    return true;
}

void noticeTrackedRankFailure(HostAddr world) {
    CatalogSyncState& state = catalogSyncState();
    if (!state.trackedRankFailed.exchange(false)) return;
    postChatLine(chat_reply::downloadFailed(state.trackedRank), world);
    state.trackedRankPending = false;
}

}  // namespace tarvek
