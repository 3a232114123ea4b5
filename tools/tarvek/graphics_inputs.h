#pragma once
// What the tarvek graphics subcommands share: a palette file, an optional wkTarvek.ini and an
// output path.
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "commands.h"
#include "host/settings.h"
#include "presentation/palette.h"

namespace tarvek::cli {

struct GraphicsOptions {
    std::string paletteFile;
    std::string settingsFile;
    std::string outDir;  // a directory, or the PNG file of the preview
    std::string ghost = "gold";
};

// Fills palette and settings (the defaults without a settings file), or says why not on stderr.
bool readInputs(const GraphicsOptions& options, Palette& palette, Settings& settings);

// A subcommand of `graphics` with --palette, --out and --settings.
CLI::App* addGraphicsSubcommand(CLI::App& group, const std::string& name, const std::string& help,
                                const std::shared_ptr<GraphicsOptions>& options, const std::string& outHelp);

// tarvek graphics preview
void addGraphicsPreviewCommand(CLI::App& graphics, CommandContext& context);

}  // namespace tarvek::cli
