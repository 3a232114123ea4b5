#include "platform/posix/posix_platform.h"

#include "catalog/portable_code_pages.h"
#include "platform/posix/module_sha256_hasher.h"
#include "sync/http_transport.h"
#include "sync/url_cracker.h"

namespace tarvek {

PosixPlatform::PosixPlatform() : PosixPlatform(makeDefaultHttpTransport()) {}

PosixPlatform::PosixPlatform(std::shared_ptr<HttpTransport> transport) : transport_(std::move(transport)) {}

// Files, clock and process id: posix_cache_files.cpp.

std::unique_ptr<Sha256Hasher> PosixPlatform::newSha256Hasher() const { return posix::newModuleSha256Hasher(); }

std::shared_ptr<HttpTransport> PosixPlatform::httpTransport() const { return transport_; }

std::optional<CrackedUrl> PosixPlatform::crackUrl(std::u16string_view url) const { return crackUrlPortable(url); }

const CodePageConverter& PosixPlatform::codePages() const { return portableCodePageConverter(); }

}  // namespace tarvek
