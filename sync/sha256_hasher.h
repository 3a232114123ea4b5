#pragma once
// SHA-256 of cache files (Platform::newSha256Hasher): BCrypt in the Windows build, the module's
// own SHA-256 elsewhere. Failures are SyncErrors of kind Internal.
#include <cstddef>
#include <string>
#include <string_view>

#include "host/platform.h"

namespace tarvek {

class Sha256Hasher {
public:
    virtual ~Sha256Hasher() = default;
    virtual void update(const void* data, size_t size) = 0;
    // 64 upper-case hex digits; the hasher is spent afterwards.
    virtual std::string finishHex() = 0;
};

// Upper-case hex SHA-256 of bytes through the platform's hasher.
std::string cacheSha256Hex(const Platform& platform, std::string_view bytes);

}  // namespace tarvek
