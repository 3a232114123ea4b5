#pragma once
// Deliberately broken answers for client tests, chosen per request path prefix.
#include <optional>
#include <string>
#include <vector>

namespace tarvek::server {

enum class FaultMode {
    Redirect,       // 302 to another path
    Status,         // the status in `number`, small text body
    NoEtag,         // the catalog answer carries no ETag
    Etag,           // the ETag header is `text`, verbatim
    ContentLength,  // a chunked body with the forged header "Content-Length: <text>"
    HugeLength,     // a body of `number` bytes with its true Content-Length
    Chunked,        // a chunked body of `number` bytes, no Content-Length
    Cut,            // the true Content-Length, but the connection closes after `number` bytes
    Stall,          // no answer for `number` seconds, then the normal one
    Trickle,        // the body in 4 KiB pieces, `number` milliseconds apart
    WrongBytes,     // the right length with the first byte changed
    NotModified,    // 304 whether or not the request was conditional
};

struct Fault {
    std::string pathPrefix;
    FaultMode mode{};
    long long number = 0;
    std::string text;
};

// Parses "PREFIX=MODE[:ARG]", e.g. "/ghosts/=cut:1000" or "/v1/=status:404"; nothing when malformed.
std::optional<Fault> parseFault(const std::string& faultText);

// The first fault whose prefix starts the path, if any.
const Fault* findFault(const std::vector<Fault>& faults, const std::string& path);

}  // namespace tarvek::server
