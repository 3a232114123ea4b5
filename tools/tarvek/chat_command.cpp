// tarvek chat: one chat line through the module's chat command handler on the simulated game, to
// see what a player would be answered with a given module directory, map and tracked rank.
#include <iostream>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "catalog/catalog_sync_state.h"
#include "catalog/code_pages.h"
#include "commands.h"
#include "simulated_module.h"
#include "race/frame_driver.h"
#include "race/map_ghost_pipeline.h"
#include "race/race_type.h"
#include "sim/sim_chat.h"
#include "sim/sim_module.h"
#include "sim/sim_world.h"

namespace tarvek::cli {
namespace {

struct ChatOptions {
    bool json = false;
    std::string moduleDirectory;
    std::optional<std::string> mapHash;
    std::optional<std::string> race;
    int32_t trackedRank = 0;
    std::optional<std::string> nickname;
    std::string text;
};

struct ChatOutcome {
    bool consumed = false;
    std::vector<std::string> lines;  // ANSI code page, as the game shows them
    std::optional<int32_t> trackedRankRequested;
};

ChatOutcome runChatLine(const ChatOptions& options, const std::string& ansiNickname) {
    SimulatedModule module(options.moduleDirectory, ansiNickname);
    sim::SimWorld world(module.host.space());
    meetPipelineWorld(world.world());
    if (options.mapHash) mapPipeline().activeMapHash = *options.mapHash;
    raceType().isBigRR = options.race == "BigRR";
    catalogSyncState().trackedRank = options.trackedRank;

    sim::SimChat chat(module.host, world.world());
    sim::installChatHook(module.host);
    chat.send(options.text);

    ChatOutcome outcome;
    outcome.consumed = module.host.chatSends().empty();
    outcome.lines = chat.printed();
    if (catalogSyncState().trackedRankPending) outcome.trackedRankRequested = catalogSyncState().trackedRank;
    return outcome;
}

void printOutcome(const ChatOutcome& outcome, bool json) {
    // The game shows the lines in the ANSI code page; the terminal and JSON get UTF-8.
    std::vector<std::string> lines;
    for (const std::string& line : outcome.lines) lines.push_back(convertCodePage(line, kAnsiCodePage, kUtf8CodePage));
    if (!json) {
        for (const std::string& line : lines) std::cout << line << "\n";
        return;
    }
    const nlohmann::ordered_json record = {
        {"consumed", outcome.consumed},
        {"lines", lines},
        {"trackedRankRequested",
         outcome.trackedRankRequested ? nlohmann::ordered_json(*outcome.trackedRankRequested) : nullptr},
    };
    std::cout << record.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

}  // namespace

void addChatCommands(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<ChatOptions>();
    CLI::App* chat = app.add_subcommand("chat", "answer one chat line as the module in the game would");
    chat->add_flag("--json", options->json, "print one JSON object: consumed, lines, trackedRankRequested");
    chat->add_option("--module-dir", options->moduleDirectory, "module directory (settings, catalogs, cache)")
        ->required()
        ->check(CLI::ExistingDirectory);
    auto* hash = chat->add_option("--map-hash", options->mapHash, "the active map hash of a running world")
                     ->check(CLI::Validator([](const std::string& text) -> std::string {
                         return isMapHash(text) ? "" : "a map hash is 64 hexadecimal digits";
                     }, "HASH"));
    auto* race = chat->add_option("--race", options->race, "race type of the world")
                     ->check(CLI::IsMember({"TTRR", "BigRR"}));
    hash->needs(race);
    race->needs(hash);
    chat->add_option("--tracked-rank", options->trackedRank, "the rank tracked before the line (0: none)")
        ->check(CLI::Range(0, 999));
    chat->add_option("--nickname", options->nickname, "the game's network nickname of the local player");
    chat->add_option("TEXT", options->text, "the chat line")->required();
    chat->callback([options, &context] {
        std::string nickname;
        if (const auto error = checkNickname(options->nickname, nickname)) {
            std::cerr << "tarvek chat: " << *error << "\n";
            context.exitStatus = kExitUsage;
            return;
        }
        printOutcome(runChatLine(*options, nickname), options->json);
        context.exitStatus = kExitOk;
    });
}

}  // namespace tarvek::cli
