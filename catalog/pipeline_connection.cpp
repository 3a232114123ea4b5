#include "catalog/pipeline_connection.h"

#include "catalog/catalog_request.h"
#include "catalog/catalog_sync_state.h"
#include "catalog/map_selection.h"
#include "catalog/tracked_rank.h"
#include "race/map_ghost_pipeline.h"

namespace tarvek {

void connectCatalogToPipeline() {
    MapPipelineLinks& links = mapPipelineLinks();
    links.selectMapGhosts = [](std::string_view mapHash, uint32_t width, uint32_t height, HostAddr world,
                               bool firstOpportunity) {
        return selectMapGhosts(mapHash, width, height, world, firstOpportunity);
    };
    links.forgetMapSelection = &forgetMapSelection;
    // Without a worker nothing is requested, so the generation stays and no rank is pending.
    links.forgetServerCatalogRequest = &forgetCatalogRequestForNewWorld;
    links.catalogGeneration = [] { return catalogSyncState().catalogGeneration.load(); };
    links.noticeTrackedRankFailure = &noticeTrackedRankFailure;
    links.trackedRankPending = [] { return catalogSyncState().trackedRankPending.load(); };
    links.applyTrackedRankCatalog = &applyTrackedRankCatalog;
    links.requestCatalogSynchronization = &requestCatalogSynchronization;
    // The poll and the retry waits count on one clock.
    links.tickMs = [] { return catalogServices().ticks(); };
}

}  // namespace tarvek
