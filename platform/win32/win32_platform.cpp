#include "platform/win32/win32_platform.h"

#include "platform/win32/bcrypt_sha256_hasher.h"
#include "platform/win32/win32_cache_files.h"
#include "platform/win32/win32_url_cracker.h"
#include "sync/http_transport.h"

namespace tarvek::win32 {

Win32Platform::Win32Platform() : Win32Platform(makeWinHttpTransport()) {}

Win32Platform::Win32Platform(std::shared_ptr<HttpTransport> transport) : transport_(std::move(transport)) {}

uint64_t Win32Platform::tickCountMs() const { return win32::tickCountMs(); }

uint32_t Win32Platform::currentProcessId() const { return win32::currentProcessId(); }

std::unique_ptr<CacheFileReader> Win32Platform::openCacheFile(const std::filesystem::path& path) const {
    return win32::openCacheFile(path);
}

std::unique_ptr<CacheFileWriter> Win32Platform::createCacheFile(const std::filesystem::path& path) const {
    return win32::createCacheFile(path);
}

void Win32Platform::moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) const {
    win32::moveReplacing(from, to);
}

void Win32Platform::deleteFileQuietly(const std::filesystem::path& path) const noexcept {
    win32::deleteFileQuietly(path);
}

bool Win32Platform::isRegularFile(const std::filesystem::path& path) const noexcept {
    return win32::isRegularFile(path);
}

std::unique_ptr<Sha256Hasher> Win32Platform::newSha256Hasher() const { return newBcryptSha256Hasher(); }

std::shared_ptr<HttpTransport> Win32Platform::httpTransport() const { return transport_; }

std::optional<CrackedUrl> Win32Platform::crackUrl(std::u16string_view url) const { return crackUrlWinHttp(url); }

}  // namespace tarvek::win32
