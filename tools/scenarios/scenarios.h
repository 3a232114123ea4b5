#pragma once
// The scripted scenarios: each has its own module directory (settings, catalogs, ghosts, cache),
// may change the game's image before the module loads, scripts every worm frame by frame, and
// sends chat lines and hotkeys at given frames. Some race against the catalog server.
#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_worm.h"
#include "tools/scenarios/catalog_files.h"
#include "tools/scenarios/module_directory.h"

namespace tarvek::scenarios {

struct ImageChange {
    uint32_t offset = 0;  // from the game's base
    std::vector<uint8_t> bytes;
};

struct WormScript {
    uint32_t team = 0;
    uint32_t worm = 0;
    std::vector<sim::WormFrame> frames;  // one per game frame
};

struct ChatLine {
    uint32_t frame = 0;  // sent after this game frame
    std::string text;
};

struct HotkeyPress {
    uint32_t frame = 0;
    int hotkeyId = 0;
};

// A game frame drawn to a picture, with what the player sees in it.
struct KeyFrame {
    uint32_t frame = 0;
    std::string caption;
};

enum class CatalogServer { None, Up, Late };

struct Scenario {
    std::string name;
    std::vector<ModuleFile> files;
    std::vector<ImageChange> imageChanges;
    int8_t schemeTurnTime = 0;  // the scheme byte: 0 for TTRR, seconds per turn for BigRR
    std::vector<WormScript> worms;  // the first is the local player's
    std::vector<ChatLine> chat;
    std::vector<HotkeyPress> hotkeys;
    CatalogServer server = CatalogServer::None;
    uint32_t serverUpFrame = 0;  // Late: the server starts after this frame
    std::vector<ModuleFile> serverFiles;  // the server's data directory
    std::vector<KeyFrame> keyFrames;
    bool race = true;                     // races against the gold ghost (gets a plot)

    uint32_t frameCount() const;
};

// Every scenario, in the order they run.
std::vector<Scenario> allScenarios();
// The ones without a server: what the 32-bit Windows host runs around the real DLL.
std::vector<Scenario> offlineScenarios();

}  // namespace tarvek::scenarios
