#include "race/map_ghost_pipeline.h"

#include <chrono>

#include "ghostdata/ghost_loader.h"
#include "race/ghost_slot_reset.h"
#include "ghostdata/map_hash_settle.h"
#include "host/host_context.h"
#include "host/log.h"
#include "race/frame_driver.h"
#include "race/race_callouts.h"
#include "race/race_state.h"
#include "race/race_type.h"

namespace tarvek {
namespace {

uint64_t currentGeneration() {
    const auto generation = mapPipelineLinks().catalogGeneration;
    return generation ? generation() : 0;
}

bool trackedRankPending() {
    const auto pending = mapPipelineLinks().trackedRankPending;
    return pending && pending();
}

void requestCatalog(HostAddr world) {
    const auto request = mapPipelineLinks().requestCatalogSynchronization;
    if (request) request(mapPipeline().activeMapHash, raceType().isBigRR, world);
}

// The geometry hash first and, when it finds nothing, the terrain hash.
bool selectForMap(HostAddr world, bool firstOpportunity) {
    const auto select = mapPipelineLinks().selectMapGhosts;
    if (!select) return false;
    const MapHashState& map = mapHashState();
    if (!map.geometryHash.empty() && select(map.geometryHash, map.mapWidth, map.mapHeight, world, firstOpportunity))
        return true;
    return select(map.terrainHash, map.mapWidth, map.mapHeight, world, firstOpportunity);
}

void startOver(HostAddr world) {
    const MapPipelineLinks& links = mapPipelineLinks();
    meetPipelineWorld(world);
    if (links.forgetServerCatalogRequest) links.forgetServerCatalogRequest();
    mapPipeline() = MapPipelineState{};
    mapPipeline().generationSnapshot = currentGeneration();
    mapHashState() = MapHashState{};
    if (links.forgetMapSelection) links.forgetMapSelection();
    // The previous map's ghosts must never show on this one.
    resetGhostSlots(false);
    resetRaceState();
}

// New ghosts join an attempt already under way where the live worm is now. Their graphics are
// built at once: the unforced preparation waits for the next start, and until then the joined
// ghosts would be drawn as plain worms beside the live one.
void joinRunningAttempt(HostAddr world) {
    const RaceState& race = raceState();
    if (race.raceStarted) alignGhostsToRunningRace();
    logLine(std::string("late catalog activation joined the current ") + (raceType().isBigRR ? "BigRR" : "TTRR") +
            " attempt at logical segment " + std::to_string(race.slots[kGoldSlot].segmentIndex) + ", elapsed frame " +
            std::to_string(race.raceFrames));
    raceCallouts().prepareGhostGraphics(world, true);
}

// New server catalog content for a map already identified: selected again before the attempt,
// taken as the first ghosts of an attempt that has none, otherwise left for the next attempt.
void activateNewCatalog(HostAddr world, uint64_t generation) {
    MapPipelineState& state = mapPipeline();
    state.generationSnapshot = generation;
    if (!frameDriver().attemptStarted) {
        state.ghostsLoaded = selectForMap(world, false);
    } else if (!state.ghostsLoaded) {
        state.ghostsLoaded = selectForMap(world, true);
        if (state.ghostsLoaded) joinRunningAttempt(world);
    }
}

void handleNewGeneration(HostAddr world) {
    MapPipelineState& state = mapPipeline();
    const uint64_t generation = currentGeneration();
    if (generation == state.generationSnapshot) return;
    if (trackedRankPending()) {
        const auto apply = mapPipelineLinks().applyTrackedRankCatalog;
        if (apply && apply(world)) {
            state.generationSnapshot = generation;
            return;
        }
    }
    // A catalog that is not the pending rank's is an ordinary catalog change.
    if (mapHashState().settled) activateNewCatalog(world, generation);
}

void settleMap(HostAddr world) {
    MapHashState& map = mapHashState();
    if (map.settled || !settleMapHash(hostMemory(), world, map)) return;
    MapPipelineState& state = mapPipeline();
    state.activeMapHash = map.mapHash;
    state.generationSnapshot = currentGeneration();
    requestCatalog(world);
    state.nextPollMs = mapPipelineLinks().tickMs() + kCatalogPollIntervalMs;
    state.ghostsLoaded = selectForMap(world, false);
}

}  // namespace

uint64_t monotonicMs() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

MapPipelineLinks& mapPipelineLinks() {
    static MapPipelineLinks links;
    return links;
}

MapPipelineState& mapPipeline() {
    static MapPipelineState state;
    return state;
}

void runMapAndGhostPipeline(HostAddr world) {
    if (world != frameDriver().pipelineWorld) startOver(world);

    if (const auto notice = mapPipelineLinks().noticeTrackedRankFailure) notice(world);
    handleNewGeneration(world);

    MapPipelineState& state = mapPipeline();
    if (!state.activeMapHash.empty()) {
        const uint64_t now = mapPipelineLinks().tickMs();
        if (now >= state.nextPollMs) {
            state.nextPollMs = now + kCatalogPollIntervalMs;
            requestCatalog(world);
        }
    }

    settleMap(world);
}

}  // namespace tarvek
