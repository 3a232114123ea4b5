#include "sync/verified_cache.h"

#include <algorithm>

#include "sync/cache_file_ops.h"
#include "sync/cache_files.h"
#include "sync/http_transfer.h"
#include "sync/sha256_hasher.h"
#include "sync/sync_error.h"
#include "sync/sync_progress.h"

namespace tarvek {
namespace {

std::u16string comparablePathText(const std::filesystem::path& path) {
    std::u16string text = path.lexically_normal().u16string();
    for (char16_t& c : text) {
        if (c == u'/') c = u'\\';
        else if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return text;
}

// The cached copy's digest when it is a file the reuse test may hash; SyncErrors other than
// Internal mean "download it again".
std::optional<uint64_t> verifiedCachedSize(const Platform& platform, const std::filesystem::path& target,
                                           const CatalogAsset& asset) {
    if (!platform.isRegularFile(target)) return std::nullopt;
    try {
        const auto reader = platform.openCacheFile(target);
        uint64_t size = 0;
        if (!reader->size(size) || size > kMaxAssetBytes)
            throw SyncError(SyncErrorKind::ContentRejected, "cached ghost exceeds the size limit");
        const auto hasher = platform.newSha256Hasher();
        std::string chunk(kCacheChunkBytes, '\0');
        while (const size_t got = reader->read(chunk.data(), chunk.size())) hasher->update(chunk.data(), got);
        if (hasher->finishHex() == asset.sha256) return size;
    } catch (const SyncError& error) {
        if (error.kind() == SyncErrorKind::Internal) throw;
    }
    return std::nullopt;
}

uint64_t downloadAsset(SyncContext& context, const CatalogAsset& asset, const std::filesystem::path& target,
                       uint64_t downloadedSoFar) {
    const Platform& platform = context.platform;
    const auto temp = makeTempSiblingPath(platform, target);
    emitProgress(context.request, "downloading ghost " + asset.fileValue);
    if (downloadedSoFar >= kMaxDownloadBytesPerSync)
        throw SyncError(SyncErrorKind::ContentRejected, "aggregate ghost download budget exceeded");
    const uint64_t limit = std::min(kMaxAssetBytes, kMaxDownloadBytesPerSync - downloadedSoFar);
    uint64_t size = 0;
    try {
        uint32_t status = 0;
        auto request = httpGet(context.connection, asset.url, status, HttpGetOptions{{}, false, true}, context.cancel,
                               context.deadline);
        checkContentLength(*request, limit);
        const auto hasher = platform.newSha256Hasher();
        {
            const auto writer = platform.createCacheFile(temp, WriteHint::SequentialScan);
            std::string chunk(kTransferChunkBytes, '\0');
            for (;;) {
                checkCancelAndDeadline(context.cancel, context.deadline);
                const size_t got = request->read(chunk.data(), chunk.size());
                if (got == 0) break;
                if (size + got > limit)
                    throw SyncError(SyncErrorKind::ContentRejected, "ghost download exceeds its size budget");
                writer->write(chunk.data(), got);
                hasher->update(chunk.data(), got);
                size += got;
            }
            writer->flushAndClose();
        }
        const std::string digest = hasher->finishHex();
        request.reset();
        context.result.httpStatus = status;
        if (digest != asset.sha256)
            throw SyncError(SyncErrorKind::ContentRejected, "SHA-256 mismatch for " + asset.fileValue);
        checkCancelAndDeadline(context.cancel, context.deadline);
        platform.moveReplacing(temp, target);
    } catch (...) {
        platform.deleteFileQuietly(temp);
        throw;
    }
    return size;
}

}  // namespace

bool samePathIgnoringCase(const std::filesystem::path& a, const std::filesystem::path& b) {
    return comparablePathText(a) == comparablePathText(b);
}

FetchedCatalog fetchCatalog(SyncContext& context, std::string_view requestString,
                            const std::optional<EtagSidecar>& sidecar) {
    auto response = fetchCatalogResponse(context.connection, requestString, context.cancel, context.deadline,
                                         sidecar ? std::string_view(sidecar->etag) : std::string_view());
    context.result.httpStatus = response.status;
    if (response.status == kStatusNotModified && sidecar) {
        try {
            std::string cached = readFileLimited(context.platform, context.request.catalogPath, kMaxCatalogBytes);
            if (cacheSha256Hex(context.platform, cached) == sidecar->catalogSha256) {
                emitProgress(context.request, "Tarvek catalog is current (HTTP 304); verifying its WR/PR cache");
                return FetchedCatalog{std::move(cached), sidecar->etag, true};
            }
        } catch (const SyncError&) {
            // Treated like a mismatch: the cached copy cannot be trusted.
        }
        emitProgress(context.request, "cached catalog did not match its ETag sidecar; downloading it again");
        response = fetchCatalogResponse(context.connection, requestString, context.cancel, context.deadline, {});
        context.result.httpStatus = response.status;
    }
    if (response.status != kStatusOk)
        throw SyncError(SyncErrorKind::HttpStatus, "unexpected catalog response HTTP " + std::to_string(response.status),
                        response.status);
    return FetchedCatalog{std::move(response.body), std::move(response.etag), false};
}

void syncCatalogAssets(SyncContext& context, const std::vector<CatalogAsset>& assets) {
    uint64_t downloadedBytes = 0;
    for (const auto& asset : assets) {
        checkCancelAndDeadline(context.cancel, context.deadline);
        const auto target = context.request.cacheDirectory / asset.relativePath;
        if (samePathIgnoringCase(target, context.request.catalogPath))
            throw SyncError(SyncErrorKind::UnsafeAsset, "GhostFile conflicts with catalogPath");
        ensureDirectory(target.parent_path());
        CatalogSyncResult& result = context.result;
        if (const auto cachedSize = verifiedCachedSize(context.platform, target, asset)) {
            emitProgress(context.request, "reusing verified ghost " + asset.fileValue);
            ++result.reusedCount;
            result.assets.push_back(SyncedAsset{asset.fileValue, asset.sha256, static_cast<uint32_t>(*cachedSize), false});
            continue;
        }
        const uint64_t size = downloadAsset(context, asset, target, downloadedBytes);
        ++result.downloadedCount;
        downloadedBytes += size;
        result.assets.push_back(SyncedAsset{asset.fileValue, asset.sha256, static_cast<uint32_t>(size), true});
    }
}

void commitCatalog(const Platform& platform, const CatalogSyncRequest& request, const FetchedCatalog& catalog,
                   std::string_view requestDigest, const std::atomic<bool>& cancel) {
    writeFileAtomically(platform, request.catalogPath, catalog.bytes, cancel);
    const auto sidecarPath = etagSidecarPath(request.catalogPath);
    if (catalog.etag.empty()) {
        // No validator: the next run must ask unconditionally.
        platform.deleteFileQuietly(sidecarPath);
        return;
    }
    const EtagSidecar sidecar{catalog.etag, std::string(requestDigest), cacheSha256Hex(platform, catalog.bytes)};
    writeFileAtomically(platform, sidecarPath, formatEtagSidecar(sidecar), cancel);
}

}  // namespace tarvek
