#pragma once
// The path and query of the catalog request, and the digest that ties a cached ETag to it.
#include <string>
#include <string_view>

#include "host/platform.h"
#include "sync/catalog_sync_request.h"

namespace tarvek {

// Letters, digits and "-._~" stay; every other byte becomes "%XX" (upper-case hex, space too).
std::string percentEncodeQueryValue(std::string_view bytes);

// "/v1/public/catalog/module.ini?seasonKey=..." with the further keys of a validated request;
// the map hash is sent in upper case.
std::string buildCatalogRequestString(const CatalogSyncRequest& request);

// SHA-256 of the request string through the platform's hasher, 64 upper-case hex digits.
std::string requestDigest(const Platform& platform, std::string_view requestString);

}  // namespace tarvek
