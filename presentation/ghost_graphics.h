#pragma once
// Cached ghost graphics (colour cube, opacity levels, crown sprites) kept current for the
// display the driver recorded. The display hooks read them; only prepareGhostGraphics builds.
#include <cstdint>
#include <memory>

#include "host/host_memory.h"
#include "presentation/crown_sprites.h"
#include "presentation/inverse_colour_cube.h"
#include "presentation/opacity_levels.h"
#include "presentation/palette.h"

namespace tarvek {

// One ghost's six opacity level tables and the level the drawing pass chose for this frame.
struct GhostGraphics {
    std::unique_ptr<OpacityLevelTables> tables;  // allocated at the first build, then reused
    bool built = false;
    HostAddr display = 0;

    bool builtFor(HostAddr forDisplay) const { return built && display == forDisplay; }
    // The table of a level (levels above 5 draw through table 5); null unless built.
    const OpacityTable* levelTable(uint32_t atLevel) const;
};

struct CrownSpriteCache {
    std::unique_ptr<CrownSprites> sprites;
    bool built = false;
    HostAddr display = 0;

    bool builtFor(HostAddr forDisplay) const { return built && display == forDisplay; }
};

struct GhostGraphicsCache {
    // The palette and display everything cached was built from.
    Palette palette;
    HostAddr display = 0;
    bool paletteSaved = false;
    std::unique_ptr<InverseColourCube> cube;
    bool cubeValid = false;
    GhostGraphics gold;
    GhostGraphics blue;
    CrownSpriteCache crown;
};

GhostGraphicsCache& ghostGraphicsCache();
GhostGraphics& ghostGraphics(bool isBlue);

// Drops every cached graphic: both ghosts' tables, the cube, the crown sprites and the name
// tags. Memory is kept for the rebuild. A new match epoch does this.
void dropCachedGhostGraphics();

// Cached crown sprites and name tags belong to the ghosts they decorate: emptied slots drop them,
// and the next preparation builds them again.
void dropCrownAndNameTags();

// Called with the world that holds the display. Does nothing unless the world's display is the
// one the frame driver recorded, or while a race runs unless forced. Drops the caches when the
// palette, the display or the driver's rebuild flag says so, then builds what the loaded ghosts
// lack: the cube and gold tables, the crown sprites, the world-record name tag, the cube and blue
// tables, the personal-record name tag. Never throws; a failed build leaves the ghost to the
// host's own translucency.
void prepareGhostGraphics(HostAddr world, bool force) noexcept;

}  // namespace tarvek
