// tarvek graphics tables|crown: the ghost graphics the module would build for a palette, written
// as raw files, for the people who tune the look.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "commands.h"
#include "graphics_inputs.h"
#include "host/settings.h"
#include "presentation/crown_sprites.h"
#include "presentation/inverse_colour_cube.h"
#include "presentation/opacity_levels.h"
#include "presentation/palette.h"

namespace tarvek::cli {
namespace {

namespace fs = std::filesystem;

}  // namespace

bool readInputs(const GraphicsOptions& options, Palette& palette, Settings& settings) {
    std::error_code error;
    const uintmax_t size = fs::file_size(options.paletteFile, error);
    std::ifstream in(options.paletteFile, std::ios::binary);
    if (error || !in) {
        std::cerr << "tarvek: cannot read palette " << options.paletteFile << ": "
                  << (error ? error.message() : std::strerror(errno)) << "\n";
        return false;
    }
    if (size != kPaletteBytes) {
        std::cerr << "tarvek: palette " << options.paletteFile << " is " << size
                  << " bytes; a palette is 1024 bytes (red, green, blue, flags for each of 256 entries)\n";
        return false;
    }
    in.read(reinterpret_cast<char*>(palette.bytes.data()), kPaletteBytes);
    if (!in) {
        std::cerr << "tarvek: cannot read palette " << options.paletteFile << "\n";
        return false;
    }
    if (options.settingsFile.empty()) return true;
    std::ifstream ini(options.settingsFile);
    if (!ini || !fs::is_regular_file(options.settingsFile, error)) {
        std::cerr << "tarvek: cannot read settings " << options.settingsFile << ": "
                  << (ini ? "not a regular file" : std::strerror(errno)) << "\n";
        return false;
    }
    settings = readSettingsFile(options.settingsFile);
    return true;
}

namespace {

bool writeFile(const fs::path& path, const uint8_t* bytes, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    out.close();
    if (out) return true;
    std::cerr << "tarvek: cannot write " << path.string() << ": " << std::strerror(errno) << "\n";
    return false;
}

bool makeOutputDirectory(const std::string& dir) {
    std::error_code error;
    fs::create_directories(dir, error);
    if (!error) return true;
    std::cerr << "tarvek: cannot create " << dir << ": " << error.message() << "\n";
    return false;
}

std::string numbered(const char* stem, unsigned number, unsigned width) {
    std::string digits = std::to_string(number);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return stem + digits + ".bin";
}

int writeTables(const GraphicsOptions& options) {
    Palette palette;
    Settings settings;
    if (!readInputs(options, palette, settings) || !makeOutputDirectory(options.outDir)) return kExitRejected;
    const GhostLook look = ghostLook(settings, options.ghost == "blue");
    auto cube = std::make_unique<InverseColourCube>();
    auto tables = std::make_unique<OpacityLevelTables>();
    buildInverseColourCube(palette, *cube);
    buildOpacityLevels(palette, *cube, look, *tables);
    const fs::path dir(options.outDir);
    if (!writeFile(dir / "cube.bin", cube->data(), cube->size())) return kExitRejected;
    for (unsigned level = 0; level < kOpacityLevelCount; ++level) {
        const OpacityTable& table = tables->level[level];
        if (!writeFile(dir / numbered("level", level, 1), table.data(), table.size())) return kExitRejected;
    }
    std::cout << opacityLevelsLogLine(look) << "\n";
    return kExitOk;
}

// Whatever WorldRecordCrown says: the point is to look at the crown.
int writeCrown(const GraphicsOptions& options) {
    Palette palette;
    Settings settings;
    if (!readInputs(options, palette, settings) || !makeOutputDirectory(options.outDir)) return kExitRejected;
    auto sprites = std::make_unique<CrownSprites>();
    buildCrownSprites(palette, settings.crownScalePercent, *sprites);
    const fs::path dir(options.outDir);
    for (unsigned i = 0; i < kCrownSpriteCount; ++i) {
        const CrownSprite& sprite = sprites->sprite[i];
        if (!writeFile(dir / numbered("crown", i, 2), sprite.data(), sprite.size())) return kExitRejected;
    }
    std::cout << "built " << kCrownSpriteCount << " crown sprites (" << kCrownSpriteSide << "x" << kCrownSpriteSide
              << ", scale " << settings.crownScalePercent << "%)\n";
    return kExitOk;
}

}  // namespace

CLI::App* addGraphicsSubcommand(CLI::App& group, const std::string& name, const std::string& help,
                                const std::shared_ptr<GraphicsOptions>& options, const std::string& outHelp) {
    CLI::App* command = group.add_subcommand(name, help);
    command->add_option("--palette", options->paletteFile, "Palette file: 1024 bytes (red, green, blue, flags)")
        ->required();
    command->add_option("--out", options->outDir, outHelp)->required();
    command->add_option("--settings", options->settingsFile,
                        "wkTarvek.ini to read the ghost keys from (defaults without one)");
    return command;
}

void addGraphicsCommands(CLI::App& app, CommandContext& context) {
    CLI::App* graphics = app.add_subcommand("graphics", "Build the ghost graphics for a palette into files");
    graphics->require_subcommand(1);

    auto tableOptions = std::make_shared<GraphicsOptions>();
    CLI::App* tables = addGraphicsSubcommand(*graphics, "tables",
                                             "Inverse colour cube (cube.bin) and six opacity levels (level0..5.bin)",
                                             tableOptions, "Output directory");
    tables->add_option("--ghost", tableOptions->ghost, "gold or blue")->required()->check(CLI::IsMember({"gold", "blue"}));
    tables->callback([&context, tableOptions] { context.exitStatus = writeTables(*tableOptions); });

    auto crownOptions = std::make_shared<GraphicsOptions>();
    CLI::App* crown = addGraphicsSubcommand(*graphics, "crown", "The 32 crown sprites (crown00..31.bin, 32x32)",
                                            crownOptions, "Output directory");
    crown->callback([&context, crownOptions] { context.exitStatus = writeCrown(*crownOptions); });

    addGraphicsPreviewCommand(*graphics, context);
}

}  // namespace tarvek::cli
