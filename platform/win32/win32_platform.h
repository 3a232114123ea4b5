#pragma once
// The platform of the DLL and the Windows tests: Win32 files and clock, BCrypt SHA-256, WinHTTP
// and WinHttpCrackUrl.
#include <memory>

#include "host/platform.h"

namespace tarvek::win32 {

std::shared_ptr<HttpTransport> makeWinHttpTransport();

class Win32Platform final : public Platform {
public:
    Win32Platform();
    // Another client in place of WinHTTP (a test double).
    explicit Win32Platform(std::shared_ptr<HttpTransport> transport);

    uint64_t tickCountMs() const override;
    uint32_t currentProcessId() const override;
    std::unique_ptr<CacheFileReader> openCacheFile(const std::filesystem::path& path) const override;
    std::unique_ptr<CacheFileWriter> createCacheFile(const std::filesystem::path& path, WriteHint hint) const override;
    void moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) const override;
    void deleteFileQuietly(const std::filesystem::path& path) const noexcept override;
    bool isRegularFile(const std::filesystem::path& path) const noexcept override;
    std::unique_ptr<Sha256Hasher> newSha256Hasher() const override;
    std::shared_ptr<HttpTransport> httpTransport() const override;
    std::optional<CrackedUrl> crackUrl(std::u16string_view url) const override;
    const CodePageConverter& codePages() const override;

private:
    std::shared_ptr<HttpTransport> transport_;
};

}  // namespace tarvek::win32
