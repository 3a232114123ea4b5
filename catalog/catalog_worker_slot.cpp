#include "catalog/catalog_worker_slot.h"

namespace tarvek {

CatalogWorkerSlot& catalogWorkerSlot() {
    static CatalogWorkerSlot slot;
    return slot;
}

}  // namespace tarvek
