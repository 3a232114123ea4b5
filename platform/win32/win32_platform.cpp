#include "platform/win32/win32_platform.h"

#include "platform/win32/bcrypt_sha256_hasher.h"
#include "platform/win32/win32_code_pages.h"
#include "platform/win32/win32_url_cracker.h"
#include "sync/http_transport.h"

namespace tarvek::win32 {

Win32Platform::Win32Platform() : Win32Platform(makeWinHttpTransport()) {}

Win32Platform::Win32Platform(std::shared_ptr<HttpTransport> transport) : transport_(std::move(transport)) {}

// Files, clock and process id: win32_cache_files.cpp.

std::unique_ptr<Sha256Hasher> Win32Platform::newSha256Hasher() const { return newBcryptSha256Hasher(); }

std::shared_ptr<HttpTransport> Win32Platform::httpTransport() const { return transport_; }

std::optional<CrackedUrl> Win32Platform::crackUrl(std::u16string_view url) const { return crackUrlWinHttp(url); }

const CodePageConverter& Win32Platform::codePages() const {
    static const Win32CodePageConverter converter;
    return converter;
}

}  // namespace tarvek::win32
