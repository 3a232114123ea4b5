#pragma once
// The libcurl client behind the HTTP seam (native build and tools).
#include <memory>
#include <string>

#include "sync/http_transport.h"

namespace tarvek {

struct CurlTransportOptions {
    std::string caFile;  // a PEM bundle of trusted authorities; empty: the system's
};

std::shared_ptr<HttpTransport> makeCurlTransport(CurlTransportOptions options);

// The WinHTTP error number that stands for a libcurl result in messages.
uint32_t windowsErrorForCurl(int curlCode);

}  // namespace tarvek
