#include "sync/etag_sidecar.h"

#include <vector>

#include "sync/cache_file_ops.h"
#include "sync/http_transfer.h"
#include "sync/module_catalog.h"
#include "sync/sync_error.h"
#include "sync/sync_progress.h"

namespace tarvek {

std::filesystem::path etagSidecarPath(const std::filesystem::path& catalogPath) {
    auto name = catalogPath.native();
    const std::string_view suffix = ".etag";
    name.append(suffix.begin(), suffix.end());
    return std::filesystem::path(name);
}

std::optional<EtagSidecar> parseEtagSidecar(std::string_view bytes, std::string_view requestDigest) {
    std::vector<std::string_view> lines;
    while (lines.size() < 4) {
        const auto end = bytes.find('\n');
        if (end == std::string_view::npos && bytes.empty()) break;  // the LF ended the last line
        auto line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    if (lines.size() < 4) return std::nullopt;
    if (lines[0] != kEtagSidecarMagic || !isSafeEtag(lines[1])) return std::nullopt;
    EtagSidecar sidecar{std::string(lines[1]), normalizeSha256Text(lines[2]), normalizeSha256Text(lines[3])};
    if (sidecar.requestKey != normalizeSha256Text(requestDigest)) return std::nullopt;
    return sidecar;
}

std::string formatEtagSidecar(const EtagSidecar& sidecar) {
    return std::string(kEtagSidecarMagic) + "\n" + sidecar.etag + "\n" + sidecar.requestKey + "\n" +
           sidecar.catalogSha256 + "\n";
}

std::optional<EtagSidecar> readEtagSidecar(const Platform& platform, const CatalogSyncRequest& request,
                                           std::string_view requestDigest) {
    const auto sidecarPath = etagSidecarPath(request.catalogPath);
    if (!platform.isRegularFile(request.catalogPath) || !platform.isRegularFile(sidecarPath)) return std::nullopt;
    try {
        return parseEtagSidecar(readFileLimited(platform, sidecarPath, kMaxEtagSidecarBytes), requestDigest);
    } catch (const SyncError&) {
        emitProgress(request, "ignoring invalid Tarvek ETag sidecar");
        return std::nullopt;
    }
}

}  // namespace tarvek
