#include "sync/http_transfer.h"

#include "sync/asset_safety.h"
#include "sync/module_catalog.h"
#include "sync/sync_error.h"
#include "sync/utf8_to_wide.h"

namespace tarvek {

bool isSafeEtag(std::string_view text) {
    if (text.size() < 2 || text.size() > 256) return false;
    if (text.substr(0, 2) == "W/") {
        if (text.size() < 4) return false;
        text.remove_prefix(2);
    }
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return false;
    for (char c : text.substr(1, text.size() - 2)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x21 || byte > 0x7E || byte == '"') return false;
    }
    return true;
}

std::unique_ptr<HttpRequestHandle> httpGet(HttpConnection& connection, std::string_view path, uint32_t& status,
                                           const HttpGetOptions& options, const std::atomic<bool>& cancel,
                                           SyncClock::time_point deadline) {
    const std::u16string widePath = utf8ToWide("catalog ghost path", normalizeGhostUrl(path));
    std::u16string wideEtag;
    if (!options.etag.empty()) {
        if (!isSafeEtag(options.etag)) throw SyncError(SyncErrorKind::InvalidCatalog, "cached ETag is unsafe");
        wideEtag = utf8ToWide("cached ETag", options.etag);
    }
    auto request = connection.openRequest(widePath, options.decompress, wideEtag, TransferStops{&cancel, deadline});
    checkCancelAndDeadline(cancel, deadline);
    request->send();
    checkCancelAndDeadline(cancel, deadline);
    status = request->statusCode();
    if (status == kStatusOk || (status == kStatusNotModified && options.accept304)) return request;
    throw SyncError(SyncErrorKind::HttpStatus, "Tarvek API returned HTTP " + std::to_string(status), status);
}

void checkContentLength(HttpRequestHandle& request, uint64_t limit) {
    const auto text = request.contentLengthHeader();
    if (!text) return;
    if (text->empty()) throw SyncError(SyncErrorKind::Transport, "empty HTTP Content-Length");
    uint64_t value = 0;
    bool overflow = false;
    for (char16_t c : *text) {
        if (c < u'0' || c > u'9') throw SyncError(SyncErrorKind::Transport, "invalid HTTP Content-Length");
        const uint64_t digit = static_cast<uint64_t>(c - u'0');
        if (value > (UINT64_MAX - digit) / 10) overflow = true;
        else value = value * 10 + digit;
    }
    if (overflow) throw SyncError(SyncErrorKind::ContentRejected, "HTTP Content-Length is too large");
    if (value > limit) throw SyncError(SyncErrorKind::ContentRejected, "HTTP response exceeds the size limit");
}

std::string readResponseEtag(HttpRequestHandle& request) {
    const auto wide = request.etagHeader();
    if (!wide) return {};
    // The platform reads at most this many bytes of UTF-16 with the terminator.
    if ((wide->size() + 1) * 2 > kMaxEtagHeaderBytes)
        throw SyncError(SyncErrorKind::Transport, "invalid HTTP ETag header");
    std::string etag;
    for (char16_t unit : *wide) {
        if (unit == 0) break;
        if (unit > 0x7F) throw SyncError(SyncErrorKind::Transport, "HTTP ETag is not ASCII");
        etag.push_back(static_cast<char>(unit));
    }
    if (!isSafeEtag(etag)) throw SyncError(SyncErrorKind::Transport, "HTTP ETag has an invalid shape");
    return etag;
}

CatalogResponse fetchCatalogResponse(HttpConnection& connection, std::string_view requestString,
                                     const std::atomic<bool>& cancel, SyncClock::time_point deadline,
                                     std::string_view etag) {
    CatalogResponse response;
    auto request = httpGet(connection, requestString, response.status, HttpGetOptions{etag, true, false}, cancel,
                           deadline);
    response.etag = readResponseEtag(*request);
    if (response.status == kStatusNotModified) return response;
    checkContentLength(*request, kMaxCatalogBytes);
    std::string chunk(kTransferChunkBytes, '\0');
    for (;;) {
        checkCancelAndDeadline(cancel, deadline);
        const size_t got = request->read(chunk.data(), chunk.size());
        if (got == 0) break;
        if (response.body.size() + got > kMaxCatalogBytes)
            throw SyncError(SyncErrorKind::ContentRejected, "HTTP response exceeds the size limit");
        response.body.append(chunk.data(), got);
    }
    return response;
}

}  // namespace tarvek
