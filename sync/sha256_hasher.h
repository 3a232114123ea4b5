#pragma once
// SHA-256 of cache files: BCrypt in the Windows build, the module's own SHA-256 elsewhere.
// Failures are SyncErrors of kind Internal.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tarvek {

class Sha256Hasher {
public:
    Sha256Hasher();
    ~Sha256Hasher();
    Sha256Hasher(const Sha256Hasher&) = delete;
    Sha256Hasher& operator=(const Sha256Hasher&) = delete;

    void update(const void* data, size_t size);
    // 64 upper-case hex digits; the hasher is spent afterwards.
    std::string finishHex();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Upper-case hex SHA-256 of bytes through the hasher.
std::string cacheSha256Hex(std::string_view bytes);

}  // namespace tarvek
