#pragma once
// The failure classes of a catalog synchronisation and the exception that carries them inside the
// worker. The numeric values travel in the result record and must not change.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tarvek {

enum class SyncErrorKind : uint32_t {
    None = 0,
    InvalidRequest = 1,
    Transport = 2,
    HttpStatus = 3,
    InvalidCatalog = 4,
    UnsafeAsset = 5,
    ContentRejected = 6,
    Filesystem = 7,
    Cancelled = 8,
    Internal = 9,
};

// The enumerator's name ("InvalidCatalog"); "Unknown" for a value outside the table.
const char* syncErrorKindName(SyncErrorKind kind);

class SyncError : public std::runtime_error {
public:
    SyncError(SyncErrorKind kind, const std::string& message, uint32_t httpStatus = 0)
        : std::runtime_error(message), kind_(kind), httpStatus_(httpStatus) {}

    SyncErrorKind kind() const noexcept { return kind_; }
    // The HTTP status of an HttpStatus failure; 0 when none.
    uint32_t httpStatus() const noexcept { return httpStatus_; }

private:
    SyncErrorKind kind_;
    uint32_t httpStatus_;
};

}  // namespace tarvek
