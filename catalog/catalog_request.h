#pragma once
// The game's side of server catalog requests: when the worker is asked for the catalog of the
// current map, race type, player and tracked rank, and what its result changes.
#include <cstdint>
#include <string>

#include "host/host_memory.h"
#include "sync/catalog_sync_result.h"

namespace tarvek {

inline constexpr uint32_t kCatalogRetryBudget = 3;
inline constexpr int32_t kCatalogOverallTimeoutMs = 120000;

// Asks for a sync of activeMapHash when nothing is running, ready or waiting out a failure;
// world is handed to the player detection.
void requestCatalogSynchronization(const std::string& mapHash, bool isBigRR, HostAddr world);

// The completion callback's work (worker thread): drops a result of a replaced request, records
// a failure with its back-off, or marks the catalog ready and raises the generation when the
// result brought anything new.
void completeCatalogRequest(const std::string& requestKey, uint64_t requestNumber, const CatalogSyncResult& result);

}  // namespace tarvek
