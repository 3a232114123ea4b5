#pragma once
// The transfer rules shared by every HTTP client: the GET sequence with its stop points and
// status check, the Content-Length check, and the catalog response with its ETag.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "sync/http_transport.h"
#include "sync/sync_deadline.h"
#include "sync/windows_error_text.h"

namespace tarvek {

constexpr size_t kTransferChunkBytes = 65536;
constexpr uint32_t kStatusOk = 200;
constexpr uint32_t kStatusNotModified = 304;
constexpr size_t kMaxEtagHeaderBytes = 1024;  // UTF-16, terminator included

// 2 to 256 bytes; optional "W/"; a quoted run of 0x21-0x7E bytes other than the quote.
bool isSafeEtag(std::string_view text);

struct HttpGetOptions {
    std::string_view etag;  // sent as If-None-Match when not empty
    bool accept304 = false;
    bool decompress = false;
};

// Opens, sends and checks one GET; status receives the answer's status before it is judged.
std::unique_ptr<HttpRequestHandle> httpGet(HttpConnection& connection, std::string_view path, uint32_t& status,
                                           const HttpGetOptions& options, const std::atomic<bool>& cancel,
                                           SyncClock::time_point deadline);

// Rejects a declared body above limit before any of it is read.
void checkContentLength(HttpRequestHandle& request, uint64_t limit);

// The ETag of the answer, checked for shape; empty when the server sent none.
std::string readResponseEtag(HttpRequestHandle& request);

struct CatalogResponse {
    std::string body;
    std::string etag;
    uint32_t status = 0;  // 200 or 304
};

CatalogResponse fetchCatalogResponse(HttpConnection& connection, std::string_view requestString,
                                     const std::atomic<bool>& cancel, SyncClock::time_point deadline,
                                     std::string_view etag);

}  // namespace tarvek
