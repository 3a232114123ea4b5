// tarvek select: runs the module's own map selection on the simulated host against a module
// directory, so players and catalog maintainers see which ghosts a map would get and why.
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "catalog/code_pages.h"
#include "catalog/map_selection.h"
#include "commands.h"
#include "simulated_module.h"
#include "ghostdata/ghost_recording.h"
#include "host/settings.h"
#include "host/text.h"
#include "race/race_type.h"
#include "sim/sim_world.h"

namespace tarvek::cli {
namespace {

struct SelectOptions {
    bool json = false;
    std::string moduleDirectory;
    std::string mapHash;
    std::string terrainHash;
    std::string race;
    bool schemeUnknown = false;
    std::optional<std::string> nickname;
    std::string mapSize = "0x0";
};

struct SelectInputs {
    bool isBigRR = false;
    uint32_t width = 0;
    uint32_t height = 0;
    std::string nickname;  // in the ANSI code page, as the host holds it
};

std::optional<uint32_t> parseSide(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    return static_cast<uint32_t>(std::stoul(text));
}

// The inputs, or a usage error message.
std::optional<std::string> checkOptions(const SelectOptions& options, SelectInputs& inputs) {
    if (!isMapHash(options.mapHash)) return "--map-hash must be 64 hexadecimal digits";
    if (!options.terrainHash.empty() && !isMapHash(options.terrainHash))
        return "--terrain-hash must be 64 hexadecimal digits";
    if (!equalsIgnoreAsciiCase(options.race, "BigRR") && !equalsIgnoreAsciiCase(options.race, "TTRR"))
        return "--race must be TTRR or BigRR";
    inputs.isBigRR = equalsIgnoreAsciiCase(options.race, "BigRR");
    const size_t cross = options.mapSize.find('x');
    const auto width = parseSide(options.mapSize.substr(0, cross));
    const auto height = cross == std::string::npos ? std::nullopt : parseSide(options.mapSize.substr(cross + 1));
    if (!width || !height) return "--map-size must be WIDTHxHEIGHT";
    inputs.width = *width;
    inputs.height = *height;
    return checkNickname(options.nickname, inputs.nickname);
}

std::string utf8(const std::string& ansi) { return convertCodePage(ansi, kAnsiCodePage, kUtf8CodePage); }

struct Selection {
    std::string mapHash;
    bool filled = false;
    MapSelectionReport report;
    std::vector<std::string> lines;  // of every selection run, in order
};

Selection runSelections(const SelectOptions& options, const SelectInputs& inputs) {
    SimulatedModule module(options.moduleDirectory, inputs.nickname);
    sim::SimWorld world(module.host.space());
    RaceType& type = raceType();
    type.isBigRR = inputs.isBigRR;
    type.detected = !options.schemeUnknown;
    type.detectionWorld = world.world();

    Selection selection;
    for (const std::string& hash : {options.mapHash, options.terrainHash}) {
        if (hash.empty() || selection.filled) break;
        selection.mapHash = hash;
        selection.report = MapSelectionReport{};
        selection.filled = selectMapGhosts(hash, inputs.width, inputs.height, world.world(), false, &selection.report);
        for (const std::string& line : selection.report.lines) selection.lines.push_back(utf8(line));
    }
    return selection;
}

void printJson(const Selection& selection) {
    const Settings& config = settings();
    const MapSelectionState& state = mapSelection();
    nlohmann::ordered_json out;
    out["source"] = selection.report.source;
    out["catalogFile"] = selection.report.catalogFile;
    out["section"] = selection.report.section;
    out["raceType"] = raceType().isBigRR ? "BigRR" : "TTRR";
    out["isTrickRace"] = raceType().isTrickRace;
    out["isBungeeRace"] = raceType().isBungeeRace;
    out["challengeId"] = config.challengeNumber;
    out["worldRecord"] = {{"ghostFile", config.goldGhostFile},
                          {"ghostPath", config.goldGhostPath},
                          {"playerName", utf8(config.worldRecordPlayerName)},
                          {"loaded", state.goldFilled}};
    out["personalRecord"] = {{"ghostFile", config.personalGhostFile},
                             {"ghostPath", selection.report.personalRecordPath},
                             {"playerName", utf8(config.personalRecordPlayerName)},
                             {"loaded", state.blueFilled}};
    out["localPlayerName"] = utf8(state.localPlayerName);
    out["playerAccountKey"] = utf8(state.playerAccountKey);
    out["playerKey"] = selection.report.playerKey;
    out["filled"] = selection.filled;
    out["mapHash"] = selection.mapHash;
    out["lines"] = selection.lines;
    // Paths and catalog values are bytes as stored; what is not UTF-8 is shown replaced.
    std::cout << out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

void printRecord(const char* label, const std::string& file, const std::string& name, bool loaded) {
    std::cout << label << ": ";
    if (file.empty()) {
        std::cout << "none\n";
        return;
    }
    std::cout << (name.empty() ? "(no name)" : utf8(name)) << ", " << file << (loaded ? ", loaded" : ", not loaded") << "\n";
}

void printText(const Selection& selection) {
    const Settings& config = settings();
    const MapSelectionState& state = mapSelection();
    for (const std::string& line : selection.lines) std::cout << line << "\n";
    std::cout << "source: " << selection.report.source << ", " << selection.report.catalogFile << " ["
              << selection.report.section << "]\n"
              << "race: " << (raceType().isBigRR ? "BigRR" : "TTRR")
              << (raceType().isTrickRace ? ", TrickRace" : raceType().isBungeeRace ? ", BungeeRace" : "")
              << ", challenge " << config.challengeNumber << "\n";
    printRecord("WR", config.goldGhostFile, config.worldRecordPlayerName, state.goldFilled);
    printRecord("PR", config.personalGhostFile, config.personalRecordPlayerName, state.blueFilled);
    std::cout << "player key: " << selection.report.playerKey << ", account key: "
              << (state.playerAccountKey.empty() ? "none" : utf8(state.playerAccountKey)) << "\n";
}

int runSelect(const SelectOptions& options) {
    SelectInputs inputs;
    if (const auto error = checkOptions(options, inputs)) {
        std::cerr << "tarvek select: " << *error << "\n";
        return kExitUsage;
    }
    const Selection selection = runSelections(options, inputs);
    options.json ? printJson(selection) : printText(selection);
    return kExitOk;
}

}  // namespace

void addSelectCommands(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<SelectOptions>();
    CLI::App* select = app.add_subcommand("select", "Which ghosts the module would select for a map, and why");
    select->add_flag("--json", options->json, "Print the result as one JSON object");
    select->add_option("--module-dir", options->moduleDirectory, "Module directory (settings, catalogs, cache, ghosts)")
        ->required()
        ->check(CLI::ExistingDirectory);
    select->add_option("--map-hash", options->mapHash, "Map hash (geometry hash when known)")->required();
    select->add_option("--terrain-hash", options->terrainHash, "Terrain hash, tried when the map hash finds nothing");
    select->add_option("--race", options->race, "Race type from the scheme: TTRR or BigRR")->required();
    select->add_flag("--scheme-unknown", options->schemeUnknown, "The scheme's race type is not known yet");
    select->add_option("--nickname", options->nickname, "The game's network nickname");
    select->add_option("--map-size", options->mapSize, "Map size for the unknown-map line (WIDTHxHEIGHT)");
    select->callback([options, &context] { context.exitStatus = runSelect(*options); });
}

}  // namespace tarvek::cli
