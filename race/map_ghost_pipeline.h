#pragma once
// The per-frame step that turns a new world into a map with ghosts: it starts over on every new
// world, settles the map hash, selects the map's ghosts from the catalogs, keeps the server
// catalog request alive and re-selects when new catalog content arrives.
#include <cstdint>
#include <string>
#include <string_view>

#include "host/host_memory.h"

namespace tarvek {

// Milliseconds of a monotonic clock (the tick count of the catalog poll).
uint64_t monotonicMs();

// What the pipeline asks of the catalog side. The selection entries are connected by the catalog
// subsystem; the server catalog entries stay empty until a catalog worker is connected, and then
// nothing is requested, the generation never changes and no tracked rank is pending.
struct MapPipelineLinks {
    // The map's ghosts from the catalogs; true when a ghost slot was filled.
    bool (*selectMapGhosts)(std::string_view mapHash, uint32_t width, uint32_t height, HostAddr world,
                            bool firstOpportunity) = nullptr;
    // Empties the player strings the last selection kept.
    void (*forgetMapSelection)() = nullptr;

    // Server catalog: forgets the request key, tracked rank and its flags of the previous world.
    void (*forgetServerCatalogRequest)() = nullptr;
    uint64_t (*catalogGeneration)() = nullptr;
    // Takes the tracked-rank failure flag in one exchange; when it was set, posts the failed
    // download reply into the world's chat and ends the pending tracked-rank request.
    void (*noticeTrackedRankFailure)(HostAddr world) = nullptr;
    bool (*trackedRankPending)() = nullptr;
    // True when it handled the current generation; false leaves it to the ordinary activation.
    bool (*applyTrackedRankCatalog)(HostAddr world) = nullptr;
    void (*requestCatalogSynchronization)(const std::string& mapHash, bool isBigRR, HostAddr world) = nullptr;

    // Millisecond ticks of the catalog poll.
    uint64_t (*tickMs)() = &monotonicMs;
};

MapPipelineLinks& mapPipelineLinks();

// Pipeline state of the current world (game thread only).
struct MapPipelineState {
    std::string activeMapHash;  // the hash catalog requests use; empty until the map is settled
    uint64_t generationSnapshot = 0;
    uint64_t nextPollMs = 0;
    bool ghostsLoaded = false;  // the last selection filled a ghost slot
};

MapPipelineState& mapPipeline();

inline constexpr uint64_t kCatalogPollIntervalMs = 250;

void runMapAndGhostPipeline(HostAddr world);

}  // namespace tarvek
