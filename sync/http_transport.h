#pragma once
// The HTTP client seam of the catalog worker. The Windows build implements it with WinHTTP
// (platform/win32), the native build with libcurl (platform/posix); both raise the same
// SyncError messages, named after the WinHTTP calls, with WinHTTP error numbers.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "sync/request_validation.h"
#include "sync/sync_deadline.h"

namespace tarvek {

constexpr const char* kSyncUserAgent = "wkTarvek/0.0.15";

struct TransferTimeouts {
    int32_t resolveMs = 0;
    int32_t connectMs = 0;
    int32_t sendMs = 0;
    int32_t receiveMs = 0;
};

// Where a synchronisation stops: the owner's cancel flag and the overall deadline. A client that
// waits inside one call (connecting, the response headers, body bytes) gives up at either with
// the worker's own errors, so no phase of a request outlasts the run.
struct TransferStops {
    const std::atomic<bool>* cancel = nullptr;  // none: only the deadline applies
    SyncClock::time_point deadline = SyncClock::time_point::max();
};

// One GET: a request handle from opening until its body has been read.
class HttpRequestHandle {
public:
    virtual ~HttpRequestHandle() = default;
    // Sends the request and waits for the response headers ("WinHTTP GET").
    virtual void send() = 0;
    // The numeric status ("WinHttpQueryHeaders").
    virtual uint32_t statusCode() = 0;
    // Raw header values; nothing when the header is absent. A value that the platform cannot
    // hand over raises its own error ("WinHttpQueryHeaders", "invalid HTTP ETag header").
    virtual std::optional<std::u16string> contentLengthHeader() = 0;
    virtual std::optional<std::u16string> etagHeader() = 0;
    // Up to size bytes of the (decoded) body; 0 at its end ("WinHttpReadData").
    virtual size_t read(char* buffer, size_t size) = 0;
};

// One connection to the origin, reused for every request of a synchronisation.
class HttpConnection {
public:
    virtual ~HttpConnection() = default;
    // Opens a GET of path (already checked, ASCII): never follows redirects; asks for gzip when
    // decompress is set (and quietly does without when the platform cannot decode it); sends
    // If-None-Match when ifNoneMatch is not empty; waits no longer than stops allow.
    virtual std::unique_ptr<HttpRequestHandle> openRequest(const std::u16string& path, bool decompress,
                                                           const std::u16string& ifNoneMatch,
                                                           const TransferStops& stops) = 0;
};

class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    // The client handle with the user agent and timeouts, and the connection to origin.
    virtual std::unique_ptr<HttpConnection> openConnection(const ServerOrigin& origin,
                                                           const TransferTimeouts& timeouts) = 0;
};

}  // namespace tarvek
