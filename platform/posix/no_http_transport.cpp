// Builds without libcurl (the 32-bit test build) have no HTTP client; the worker reports that as
// a transport failure instead of failing to link.
#include "platform/posix/posix_platform.h"

namespace tarvek {

std::shared_ptr<HttpTransport> makeDefaultHttpTransport() { return nullptr; }

}  // namespace tarvek
