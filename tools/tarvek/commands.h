#pragma once
// Each subcommand group registers itself on the application and sets the exit status in run.
#include <CLI/CLI.hpp>

namespace tarvek::cli {

// Exit statuses shared by every subcommand.
constexpr int kExitOk = 0;
constexpr int kExitRejected = 1;
constexpr int kExitUsage = 2;

struct CommandContext {
    int exitStatus = kExitOk;
};

// Subcommand groups; each adds its subcommands to app and stores its result in context.
// (Declared here as the groups land.)
void addCompareCommands(CLI::App& app, CommandContext& context);  // compare
void addGhostCommands(CLI::App& app, CommandContext& context);     // ghost info
void addMapHashCommands(CLI::App& app, CommandContext& context);   // maphash geometry|terrain
void addCatalogCommands(CLI::App& app, CommandContext& context);   // catalog check
void addSyncCommands(CLI::App& app, CommandContext& context);
void addGraphicsCommands(CLI::App& app, CommandContext& context);  // graphics tables|crown
void addChatCommands(CLI::App& app, CommandContext& context);   // chat
void addSelectCommands(CLI::App& app, CommandContext& context);  // select

}  // namespace tarvek::cli
