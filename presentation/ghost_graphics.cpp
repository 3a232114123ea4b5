#include "presentation/ghost_graphics.h"

#include <algorithm>

#include "ghostdata/ghost_recording.h"
#include "host/host_context.h"
#include "host/host_layout.h"
#include "host/log.h"
#include "host/settings.h"
#include "presentation/name_tags.h"
#include "race/frame_driver.h"
#include "race/race_state.h"
#include "race/race_type.h"

namespace tarvek {
namespace {

void ensureCube(GhostGraphicsCache& cache) {
    if (cache.cubeValid) return;
    if (!cache.cube) cache.cube = std::make_unique<InverseColourCube>();
    buildInverseColourCube(cache.palette, *cache.cube);
    cache.cubeValid = true;
}

void buildGhostTables(GhostGraphicsCache& cache, bool isBlue) {
    GhostGraphics& ghost = isBlue ? cache.blue : cache.gold;
    if (ghost.builtFor(cache.display)) return;
    ensureCube(cache);
    if (!ghost.tables) ghost.tables = std::make_unique<OpacityLevelTables>();
    const GhostLook look = ghostLook(settings(), isBlue);
    buildOpacityLevels(cache.palette, *cache.cube, look, *ghost.tables);
    ghost.built = true;
    ghost.display = cache.display;
    logLine(opacityLevelsLogLine(look));
}

bool crownWanted() { return settings().worldRecordCrown && !raceType().isBungeeRace; }

void buildCrown(GhostGraphicsCache& cache) {
    CrownSpriteCache& crown = cache.crown;
    if (!crownWanted() || crown.builtFor(cache.display)) return;
    if (!crown.sprites) crown.sprites = std::make_unique<CrownSprites>();
    buildCrownSprites(cache.palette, settings().crownScalePercent, *crown.sprites);
    crown.built = true;
    crown.display = cache.display;
}

const std::string& recordHolder(bool isBlue) {
    return isBlue ? settings().personalRecordPlayerName : settings().worldRecordPlayerName;
}

bool nameTagMissing(bool isBlue, HostAddr display) {
    return !recordHolder(isBlue).empty() && !nameTagCache(isBlue).builtFor(display);
}

// A loaded ghost lacks its tables or its name tag, or the gold ghost its crown (crown and tags
// are dropped with the slots while the tables stay).
bool rebuildPending(const GhostGraphicsCache& cache, HostAddr display) {
    const bool goldLoaded = !goldGhost().empty();
    const bool blueLoaded = !blueGhost().empty();
    return (goldLoaded && (!cache.gold.builtFor(display) || nameTagMissing(false, display))) ||
           (blueLoaded && (!cache.blue.builtFor(display) || nameTagMissing(true, display))) ||
           (goldLoaded && crownWanted() && !cache.crown.builtFor(display));
}

void rebuild(GhostGraphicsCache& cache) {
    if (!goldGhost().empty()) buildGhostTables(cache, false);
    buildCrown(cache);
    prepareNameTag(cache.display, recordHolder(false), nameTagCache(false), "WR");
    if (!blueGhost().empty()) buildGhostTables(cache, true);
    prepareNameTag(cache.display, recordHolder(true), nameTagCache(true), "PR");
}

}  // namespace

const OpacityTable* GhostGraphics::levelTable(uint32_t atLevel) const {
    if (!built || !tables) return nullptr;
    return &tables->level[std::min(atLevel, kHighestOpacityLevel)];
}

GhostGraphicsCache& ghostGraphicsCache() {
    static GhostGraphicsCache cache;
    return cache;
}

GhostGraphics& ghostGraphics(bool isBlue) { return isBlue ? ghostGraphicsCache().blue : ghostGraphicsCache().gold; }

void dropCrownAndNameTags() {
    ghostGraphicsCache().crown.built = false;
    dropGhostNameTags();
}

void dropCachedGhostGraphics() {
    GhostGraphicsCache& cache = ghostGraphicsCache();
    cache.gold.built = false;
    cache.blue.built = false;
    cache.cubeValid = false;
    cache.paletteSaved = false;
    dropCrownAndNameTags();
}

void prepareGhostGraphics(HostAddr world, bool force) noexcept {
    try {
        if (raceState().raceStarted && !force) return;
        const HostMemory& memory = hostMemory();
        FrameDriver& driver = frameDriver();
        const auto display = memory.readU32(world + host_layout::world::kDisplay);
        if (!display || *display == 0 || *display != driver.lastWatchedPointer) return;
        Palette palette;
        if (!readDisplayPalette(memory, *display, palette)) return;

        GhostGraphicsCache& cache = ghostGraphicsCache();
        const bool stale = cache.paletteSaved && (cache.display != *display || !palette.sameColours(cache.palette));
        if (stale || driver.graphicsRebuildNeeded) {
            dropCachedGhostGraphics();
            driver.graphicsRebuildNeeded = false;
        }
        if (!rebuildPending(cache, *display)) return;
        cache.palette = palette;
        cache.display = *display;
        cache.paletteSaved = true;
        rebuild(cache);
    } catch (...) {
        // Out of memory: the ghosts are drawn with the host's own translucency meanwhile.
    }
}

}  // namespace tarvek
