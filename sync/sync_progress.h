#pragma once
#include <string>

#include "sync/catalog_sync_request.h"

namespace tarvek {

// Hands line to the request's progress callback, if any; the callback's exceptions are dropped.
void emitProgress(const CatalogSyncRequest& request, const std::string& line) noexcept;

}  // namespace tarvek
