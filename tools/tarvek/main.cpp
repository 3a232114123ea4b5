// tarvek: inspect ghosts and tails, hash maps, check catalogs and run a catalog sync.
#include <iostream>

#include "commands.h"

int main(int argc, char** argv) {
    using namespace tarvek::cli;
    CLI::App app{"tarvek: ghost, map and catalog tools for ghost racing"};
    app.require_subcommand(1);
    CommandContext context;
    // Subcommand groups register here.
    addCompareCommands(app, context);
    addGhostCommands(app, context);
    addMapHashCommands(app, context);
    addCatalogCommands(app, context);
    addSyncCommands(app, context);
    addGraphicsCommands(app, context);
    addChatCommands(app, context);
    addSelectCommands(app, context);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitUsage;
    }
    return context.exitStatus;
}
