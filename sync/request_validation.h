#pragma once
// Validation of a CatalogSyncRequest, in its fixed order, and the server origin derived from it.
// Every failure is a SyncError of kind InvalidRequest; validation stops at the first one.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "sync/catalog_sync_request.h"
#include "sync/url_cracker.h"

namespace tarvek {

struct ServerOrigin {
    bool secure = true;  // HTTPS
    std::u16string host;
    uint16_t port = 0;
};

struct ValidatedSyncRequest {
    ServerOrigin origin;
    // The overall deadline: the monotonic clock at validation plus overallTimeoutMs.
    std::chrono::steady_clock::time_point deadline;
};

// 1 to 256 bytes, strict UTF-8, no byte below 0x20 and no 0x7F.
void validateRequestText(std::string_view name, std::string_view text);
// mapHash and raceType set together, trackRank only when scoped and 1 to 999, a 64-hex-digit
// map hash and a known race type.
void validateRequestScope(const CatalogSyncRequest& request);
// value >= 1.
void validateTimeout(int32_t value, std::string_view name);

// The absolute-path rule for Windows paths: a drive root name ("X:") followed by a root
// directory, or a root name of three or more characters beginning with two separators (UNC
// "\\server", device "\\?", "\\."). A drive-relative "C:name" is not absolute.
bool isWindowsAbsolutePath(std::wstring_view path);
// The rule of this build: the Windows rule in the Windows build, a leading "/" elsewhere.
bool isAbsoluteRequestPath(const std::filesystem::path& path);

// Steps 9 to 14: the origin of apiBaseUrl, split with crack.
ServerOrigin deriveServerOrigin(std::string_view apiBaseUrl, bool allowHttp, const UrlCrackFn& crack);

// The whole validation. crack is the platform's URL cracker: the WinHTTP one on Windows
// (win32::crackUrlWinHttp), crackUrlPortable elsewhere.
ValidatedSyncRequest validateCatalogSyncRequest(const CatalogSyncRequest& request, const UrlCrackFn& crack,
                                                std::chrono::steady_clock::time_point now =
                                                    std::chrono::steady_clock::now());

}  // namespace tarvek
