#include "catalog/map_selection.h"

#include "catalog/catalog_choice.h"
#include "catalog/catalog_paths.h"
#include "catalog/code_pages.h"
#include "catalog/player_identity.h"
#include "ghostdata/ghost_loader.h"
#include "race/ghost_slot_reset.h"
#include "ghostdata/visual_tail.h"
#include "host/log.h"
#include "host/module_path.h"
#include "host/private_profile.h"
#include "host/settings.h"
#include "host/text.h"
#include "race/ghost_slot_reset.h"
#include "race/race_state.h"
#include "race/race_type.h"

namespace tarvek {
namespace {

const char* raceText(bool isBigRR) { return isBigRR ? "BigRR" : "TTRR"; }

class SelectionLog {
public:
    explicit SelectionLog(MapSelectionReport* report) : report_(report) {}
    void line(const std::string& text) {
        if (text.empty()) return;
        logLine(text);
        if (report_) report_->lines.push_back(text);
    }

private:
    MapSelectionReport* report_;
};

// Names in server catalogs are UTF-8; the game shows them in its ANSI code page.
std::string displayName(const std::string& name, const CatalogChoice& choice) {
    return choice.fromServer ? convertCodePage(name, kUtf8CodePage, kAnsiCodePage) : name;
}

bool loadSlot(const std::string& path, GhostRecording& slot, std::string_view label) {
    if (!loadGhostRecording(path, slot, label)) return false;
    loadVisualTail(path, slot, label);
    return true;
}

// Discipline and category decide the race type unless the scheme already has; a category that
// contradicts the scheme's turn time is reported and overruled.
void applyDisciplineAndCategory(const std::string& category, const std::string& discipline, SelectionLog& log) {
    RaceType& type = raceType();
    const std::string disciplineKey = asciiLower(discipline);
    type.isTrickRace = disciplineKey == "trickrace";
    type.isBungeeRace = disciplineKey == "bungeerace";
    if (category.empty()) return;
    const bool categoryBigRR = asciiLower(category) == "bigrr";
    if (type.isTrickRace || type.isBungeeRace || !type.detected) {
        type.isBigRR = categoryBigRR;
    } else if (type.isBigRR != categoryBigRR) {
        log.line("catalog category " + category + " disagrees with scheme turn time; using " + raceText(type.isBigRR));
    }
}

// The player section of the chosen map section: the tracked rank's, else the player's own.
std::string playerSection(const ProfileText& catalog, const std::string& mapSection, const std::string& accountKey) {
    if (catalog.integer("Catalog", "TrackRank") != 0) return mapSection + ".Player.__track__";
    if (!accountKey.empty()) return mapSection + ".Player." + accountKey;
    return {};
}

struct PersonalRecord {
    std::string file;
    std::string playerName;
};

PersonalRecord choosePersonalRecord(const ProfileText& catalog, const CatalogChoice& choice,
                                    const std::string& accountKey) {
    PersonalRecord record;
    const std::string section = playerSection(catalog, choice.section, accountKey);
    if (!section.empty()) {
        record.file = catalog.string(section, "PersonalRecordGhostFile");
        record.playerName = displayName(catalog.string(section, "PersonalRecordPlayerName"), choice);
    }
    // A local catalog may name the player's record in the map section itself.
    if (!choice.fromServer && record.file.empty() && !accountKey.empty()) {
        const std::string owner = catalog.string(choice.section, "PersonalRecordPlayerName");
        if (normalizePlayerName(owner) == accountKey) {
            record.file = catalog.string(choice.section, "PersonalRecordGhostFile");
            record.playerName = owner;
        }
    }
    return record;
}

}  // namespace

MapSelectionState& mapSelection() {
    static MapSelectionState state;
    return state;
}

void forgetMapSelection() { mapSelection() = MapSelectionState{}; }

bool selectMapGhosts(std::string_view mapHash, uint32_t width, uint32_t height, HostAddr world,
                     bool firstOpportunity, MapSelectionReport* report) {
    if (firstOpportunity && (!goldGhost().empty() || !blueGhost().empty())) return false;
    SelectionLog log(report);
    Settings& config = settings();
    MapSelectionState& state = mapSelection();

    const bool joinRunningRace = firstOpportunity && raceType().isBigRR && !raceType().isTrickRace &&
                                 !raceType().isBungeeRace && raceState().raceStarted;
    resetGhostSlots(joinRunningRace);
    if (!firstOpportunity) resetRaceState();

    const DetectedPlayerName detected = detectLocalPlayerName(world);
    const PlayerIdentity identity = buildPlayerIdentity(detected.name);
    CatalogFiles files;
    files.local = localCatalogPath();
    if (!config.remoteCatalogFile.empty()) files.remote = joinModulePath(config.moduleDirectory, config.remoteCatalogFile);
    files.cache = serverCatalogCachePath(mapHash, raceType().isBigRR, identity.playerKey, 0);
    const CatalogChoice choice = chooseCatalog(files, mapHash, raceType().isBigRR, identity);

    const AccountKeyResolution resolution =
        resolvePlayerAccountKey(detected.name, choice.fromServer ? choice.file : std::string());
    state.localPlayerName = resolution.localPlayerName;
    state.playerAccountKey = resolution.playerAccountKey;
    log.line(recognitionLine(resolution, detected.source));

    const ProfileText catalog(choice.file);
    const std::string name = catalog.string(choice.section, "Name");
    const std::string category = catalog.string(choice.section, "Category");
    applyDisciplineAndCategory(category, catalog.string(choice.section, "Discipline"), log);

    config.challengeNumber = catalog.integer(choice.section, "ChallengeId");
    config.goldGhostFile = catalog.string(choice.section, "WorldRecordGhostFile");
    config.worldRecordPlayerName = config.goldGhostFile.empty()
                                       ? std::string()
                                       : displayName(catalog.string(choice.section, "WorldRecordPlayerName"), choice);
    config.goldGhostPath = joinModulePath(config.moduleDirectory, config.goldGhostFile);
    state.goldFilled = !config.goldGhostFile.empty() && loadSlot(config.goldGhostPath, goldGhost(), "world-record");

    PersonalRecord personal = choosePersonalRecord(catalog, choice, state.playerAccountKey);
    if (personal.file == config.goldGhostFile) personal = PersonalRecord{};  // already the gold ghost
    if (!personal.file.empty() && personal.playerName.empty()) personal.playerName = state.localPlayerName;
    config.personalGhostFile = personal.file;
    config.personalRecordPlayerName = personal.playerName;
    config.personalRecordSet = !personal.file.empty();
    const std::string personalPath = joinModulePath(config.moduleDirectory, personal.file);
    state.blueFilled = config.personalRecordSet && loadSlot(personalPath, blueGhost(), "personal-record");

    const bool filled = state.goldFilled || state.blueFilled;
    if (!filled && name.empty()) {
        log.line("unknown map " + std::string(mapHash) + " (" + std::to_string(width) + "x" + std::to_string(height) +
                 "); no WR/PR selected from " + choice.file);
    } else {
        const std::string unavailable = "unavailable";
        log.line("automatic map selection: " + (name.empty() ? std::string("unnamed map") : displayName(name, choice)) +
                 " [scheme " + raceText(raceType().isBigRR) + ", catalog " +
                 (category.empty() ? std::string("unspecified") : category) + "]" + ", source " +
                 std::string(choice.source()) + ", hash " + std::string(mapHash) + ", challenge " +
                 std::to_string(config.challengeNumber) + ", player " + (state.localPlayerName.empty() ? unavailable : state.localPlayerName) +
                 ", WR " + (state.goldFilled ? config.worldRecordPlayerName : unavailable) + ", PR " +
                 (state.blueFilled ? config.personalRecordPlayerName : unavailable));
    }
    if (report) {
        report->source = choice.source();
        report->catalogFile = choice.file;
        report->section = choice.section;
        report->playerKey = identity.playerKey;
        report->personalRecordPath = personalPath;
    }
    return filled;
}

}  // namespace tarvek
