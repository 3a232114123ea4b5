#include "platform/posix/posix_platform.h"

#include "platform/posix/module_sha256_hasher.h"
#include "platform/posix/posix_cache_files.h"
#include "sync/http_transport.h"
#include "sync/url_cracker.h"

namespace tarvek {

PosixPlatform::PosixPlatform() : PosixPlatform(makeDefaultHttpTransport()) {}

PosixPlatform::PosixPlatform(std::shared_ptr<HttpTransport> transport) : transport_(std::move(transport)) {}

uint64_t PosixPlatform::tickCountMs() const { return posix::tickCountMs(); }

uint32_t PosixPlatform::currentProcessId() const { return posix::currentProcessId(); }

std::unique_ptr<CacheFileReader> PosixPlatform::openCacheFile(const std::filesystem::path& path) const {
    return posix::openCacheFile(path);
}

std::unique_ptr<CacheFileWriter> PosixPlatform::createCacheFile(const std::filesystem::path& path) const {
    return posix::createCacheFile(path);
}

void PosixPlatform::moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) const {
    posix::moveReplacing(from, to);
}

void PosixPlatform::deleteFileQuietly(const std::filesystem::path& path) const noexcept {
    posix::deleteFileQuietly(path);
}

bool PosixPlatform::isRegularFile(const std::filesystem::path& path) const noexcept {
    return posix::isRegularFile(path);
}

std::unique_ptr<Sha256Hasher> PosixPlatform::newSha256Hasher() const { return posix::newModuleSha256Hasher(); }

std::shared_ptr<HttpTransport> PosixPlatform::httpTransport() const { return transport_; }

std::optional<CrackedUrl> PosixPlatform::crackUrl(std::u16string_view url) const { return crackUrlPortable(url); }

}  // namespace tarvek
