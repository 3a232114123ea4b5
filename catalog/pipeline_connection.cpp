#include "catalog/pipeline_connection.h"

#include "catalog/map_selection.h"
#include "race/map_ghost_pipeline.h"

namespace tarvek {

void connectCatalogToPipeline() {
    MapPipelineLinks& links = mapPipelineLinks();
    links.selectMapGhosts = [](std::string_view mapHash, uint32_t width, uint32_t height, HostAddr world,
                               bool firstOpportunity) {
        return selectMapGhosts(mapHash, width, height, world, firstOpportunity);
    };
    links.forgetMapSelection = &forgetMapSelection;
    // The server catalog entries are connected with the catalog worker.
}

}  // namespace tarvek
