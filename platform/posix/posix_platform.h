#pragma once
// The platform of the native tools and tests: POSIX files and clock, the module's own SHA-256,
// the portable URL cracker and, where the build has libcurl, the libcurl client.
#include <memory>

#include "host/platform.h"

namespace tarvek {

// The build's HTTP client: libcurl with the system's authorities, or none without libcurl.
std::shared_ptr<HttpTransport> makeDefaultHttpTransport();

class PosixPlatform final : public Platform {
public:
    PosixPlatform();
    // Another client in place of the build's (a test double, libcurl with a test authority).
    explicit PosixPlatform(std::shared_ptr<HttpTransport> transport);

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

}  // namespace tarvek
