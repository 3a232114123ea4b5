// tarvek graphics preview: both ghosts at every opacity level, with crown and name tags, drawn
// by the module over the simulated game's background, as one PNG.
#include <algorithm>
#include <cstring>
#include <iostream>
#include <memory>
#include <vector>

#include "graphics_inputs.h"
#include "race/ghost_drawing.h"
#include "sim/png_image.h"
#include "sim/sim_font.h"
#include "sim/sim_scene.h"

namespace tarvek::cli {
namespace {

constexpr int32_t kColumns = 3;
constexpr int32_t kRows = 2;
constexpr int32_t kLevels = kColumns * kRows;
constexpr int32_t kTileHeight = 150;

// A distance from the live worm at which the drawing pass picks the level: the middle of the
// distances that give it (or a spread of distances when the fade is off).
int32_t distanceForLevel(const Settings& config, uint32_t level) {
    std::vector<int32_t> matches;
    for (int32_t d = 0; d <= config.proximityFadeStartPixels + 20; ++d)
        if (proximityFadeLevel(config, 0, 0, sim::fixedPixels(d), 0) == level) matches.push_back(d);
    if (!config.proximityFadeEnabled || matches.empty()) return 30 + 10 * static_cast<int32_t>(level);
    return std::max(matches[matches.size() / 2], 12);  // keep the ghosts beside the worm
}

int writePreview(const GraphicsOptions& options) {
    Palette palette;
    Settings config;
    if (!readInputs(options, palette, config)) return kExitRejected;
    if (config.worldRecordPlayerName.empty()) config.worldRecordPlayerName = "World Record";
    if (config.personalRecordPlayerName.empty()) config.personalRecordPlayerName = "Personal";

    const int32_t tileWidth = std::max(2 * (config.proximityFadeStartPixels + 20) + 80, 240);
    sim::SimScene scene(static_cast<uint32_t>(tileWidth), kTileHeight);
    sim::Palette simPalette;
    std::copy(palette.bytes.begin(), palette.bytes.end(), simPalette.begin());
    scene.usePalette(simPalette);
    settings() = config;

    const int32_t width = tileWidth * kColumns;
    const int32_t height = kTileHeight * kRows;
    std::vector<uint8_t> sheet(size_t(width) * size_t(height));
    const int32_t centre = tileWidth / 2;
    const int32_t y = kTileHeight / 2 + 10;
    for (int32_t level = 0; level < kLevels; ++level) {
        const int32_t d = distanceForLevel(config, static_cast<uint32_t>(level));
        scene.placeLiveWorm(centre, y);
        scene.hangLiveWormOnRope({{centre - d - 40, 8}, {centre - d + 10, 14}});
        GhostFrame gold = sim::sceneGhostFrame(centre - d, y);
        sim::hangGhostOnRope(gold, 2, 0x0C00);
        scene.showGhost(false, gold);
        scene.showGhost(true, sim::sceneGhostFrame(centre + d, y));
        scene.prepareGraphics();
        scene.renderFrame();

        std::vector<uint8_t> tile = scene.pixels();
        const sim::Canvas8 canvas{tile.data(), static_cast<uint32_t>(tileWidth), {0, 0, tileWidth, kTileHeight}};
        const std::string label = "level " + std::to_string(ghostDrawState(false).fadeLevel) + " / " +
                                  std::to_string(ghostDrawState(true).fadeLevel);
        sim::drawText(canvas, 4, 4, label, 1, sim::nearestPaletteEntry(simPalette, 255, 255, 255),
                      sim::nearestPaletteEntry(simPalette, 24, 24, 24));
        const int32_t left = (level % kColumns) * tileWidth;
        const int32_t top = (level / kColumns) * kTileHeight;
        for (int32_t row = 0; row < kTileHeight; ++row)
            std::copy_n(tile.begin() + row * tileWidth, tileWidth, sheet.begin() + (top + row) * width + left);
    }

    std::string error;
    if (!sim::writePalettePng(options.outDir, static_cast<uint32_t>(width), static_cast<uint32_t>(height), sheet,
                              simPalette, error)) {
        std::cerr << "tarvek: " << error << "\n";
        return kExitRejected;
    }
    std::cout << "wrote " << options.outDir << " (" << width << "x" << height << ": gold and blue ghost at levels 0 to "
              << kLevels - 1 << ")\n";
    return kExitOk;
}

}  // namespace

void addGraphicsPreviewCommand(CLI::App& graphics, CommandContext& context) {
    auto options = std::make_shared<GraphicsOptions>();
    CLI::App* preview = addGraphicsSubcommand(graphics, "preview",
                                              "Both ghosts at every opacity level with crown and tags, as a PNG",
                                              options, "PNG file to write");
    preview->callback([&context, options] { context.exitStatus = writePreview(*options); });
}

}  // namespace tarvek::cli
