// Builds without libcurl (the 32-bit test build) have no HTTP client; the worker reports that as
// a transport failure instead of failing to link.
#include "sync/http_transport.h"

namespace tarvek {

std::shared_ptr<HttpTransport> makePlatformHttpTransport() { return nullptr; }

}  // namespace tarvek
