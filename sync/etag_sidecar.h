#pragma once
// The ETag sidecar beside a cached catalog: the ETag to revalidate with, the request it belongs to
// and the digest of the catalog bytes it describes.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "host/platform.h"
#include "sync/catalog_sync_request.h"

namespace tarvek {

constexpr std::string_view kEtagSidecarMagic = "TARVEK-ETAG-V2";
constexpr size_t kMaxEtagSidecarBytes = 1024;

struct EtagSidecar {
    std::string etag;
    std::string requestKey;     // upper-case requestDigest
    std::string catalogSha256;  // upper-case
};

// catalogPath with ".etag" appended to its file name.
std::filesystem::path etagSidecarPath(const std::filesystem::path& catalogPath);

// The sidecar when it is valid for this request; nothing when it is not. Its SHA-256 lines
// raise SyncError when malformed.
std::optional<EtagSidecar> parseEtagSidecar(std::string_view bytes, std::string_view requestDigest);

// Four LF-terminated lines.
std::string formatEtagSidecar(const EtagSidecar& sidecar);

// Reads the sidecar of the request's catalog. Invalid sidecars are ignored: silently, or with
// the progress line "ignoring invalid Tarvek ETag sidecar" when reading or a digest line failed.
std::optional<EtagSidecar> readEtagSidecar(const Platform& platform, const CatalogSyncRequest& request,
                                           std::string_view requestDigest);

}  // namespace tarvek
