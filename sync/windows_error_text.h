#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvek {

// How a failed platform call is reported: what + " failed (Windows error " + code + ")".
std::string windowsErrorText(std::string_view what, uint32_t code);

// Windows error numbers that the non-Windows seams report in their place.
namespace winerr {
constexpr uint32_t kHandleEof = 38;                 // ERROR_HANDLE_EOF
constexpr uint32_t kInsufficientBuffer = 122;       // ERROR_INSUFFICIENT_BUFFER
constexpr uint32_t kTimeout = 12002;                // ERROR_WINHTTP_TIMEOUT
constexpr uint32_t kInternalError = 12004;          // ERROR_WINHTTP_INTERNAL_ERROR
constexpr uint32_t kNameNotResolved = 12007;        // ERROR_WINHTTP_NAME_NOT_RESOLVED
constexpr uint32_t kCannotConnect = 12029;          // ERROR_WINHTTP_CANNOT_CONNECT
constexpr uint32_t kConnectionError = 12030;        // ERROR_WINHTTP_CONNECTION_ERROR
constexpr uint32_t kHeaderNotFound = 12150;         // ERROR_WINHTTP_HEADER_NOT_FOUND
constexpr uint32_t kInvalidServerResponse = 12152;  // ERROR_WINHTTP_INVALID_SERVER_RESPONSE
constexpr uint32_t kSecureFailure = 12175;          // ERROR_WINHTTP_SECURE_FAILURE
}  // namespace winerr

}  // namespace tarvek
