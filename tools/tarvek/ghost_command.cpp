// tarvek ghost info: what the module would load from a ghost file and its visual tail.
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "commands.h"
#include "ghostdata/ghost_loader.h"
#include "ghostdata/visual_tail.h"

namespace tarvek::cli {
namespace {

constexpr std::string_view kLabel = "inspected";

std::vector<size_t> tailFramesPerSegment(const GhostRecording& ghost) {
    std::vector<size_t> counts(ghost.segments.size(), 0);
    for (size_t i = 0; i < ghost.tails.size() && i < counts.size(); ++i) counts[i] = ghost.tails[i].size();
    return counts;
}

void printJson(const GhostRecording& ghost) {
    nlohmann::json segments = nlohmann::json::array();
    for (size_t i = 0; i < ghost.segments.size(); ++i)
        segments.push_back({{"firstFrame", ghost.segments[i].firstFrame},
                            {"frameCount", ghost.segments[i].frameCount},
                            {"movementStart", ghost.movementStart[i]}});
    nlohmann::ordered_json out;
    out["valid"] = true;
    out["frames"] = ghost.frames.size();
    out["segments"] = segments;
    out["firstMovementFrame"] = ghost.firstMovementFrame;
    out["tailFrames"] = tailFramesPerSegment(ghost);
    std::cout << out.dump() << "\n";
}

void printText(const std::string& path, const GhostRecording& ghost, TailRejection tail) {
    std::cout << path << ": valid ghost\n"
              << "frames: " << ghost.frames.size() << "\n"
              << "segments: " << ghost.segments.size() << "\n";
    const std::vector<size_t> tails = tailFramesPerSegment(ghost);
    for (size_t i = 0; i < ghost.segments.size(); ++i)
        std::cout << "  segment " << i << ": firstFrame " << ghost.segments[i].firstFrame
                  << ", frameCount " << ghost.segments[i].frameCount << ", movementStart "
                  << ghost.movementStart[i] << ", tail frames " << tails[i] << "\n";
    std::cout << "firstMovementFrame: " << ghost.firstMovementFrame << "\n"
              << "tail " << tailPathOf(path) << ": " << describeTailRejection(tail) << "\n";
}

int inspectGhost(const std::string& path, bool json) {
    GhostRecording ghost;
    if (!loadGhostRecording(path, ghost, kLabel)) {
        if (json)
            std::cout << R"({"valid":false})" << "\n";
        else
            std::cout << path << ": invalid ghost (unreadable, bad header, wrong size, tagged record "
                                 "or broken segment order)\n";
        return kExitRejected;
    }
    const TailRejection tail = loadVisualTail(path, ghost, kLabel);
    if (json)
        printJson(ghost);
    else
        printText(path, ghost, tail);
    return kExitOk;
}

}  // namespace

void addGhostCommands(CLI::App& app, CommandContext& context) {
    CLI::App* ghost = app.add_subcommand("ghost", "Inspect ghost recordings (.tkghost) and their tails");
    ghost->require_subcommand(1);
    CLI::App* info = ghost->add_subcommand("info", "Validate a ghost file and show its segments and tail");
    auto path = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    info->add_flag("--json", *json, "Print one JSON object");
    info->add_option("FILE", *path, "Ghost file")->required();
    info->callback([&context, path, json] { context.exitStatus = inspectGhost(*path, *json); });
}

}  // namespace tarvek::cli
