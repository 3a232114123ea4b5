#pragma once
// The operating system's services as one object. The program's entry (the DLL's init thread, a
// tool's main, a test fixture) creates it and hands it to the code that needs it, so portable code
// calls no platform function resolved at link time. Each service's interface is declared by the
// subsystem that uses it; the ones named here belong to the catalog worker.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

namespace tarvek {

class CacheFileReader;  // sync/cache_files.h
class CacheFileWriter;  // sync/cache_files.h
class Sha256Hasher;     // sync/sha256_hasher.h
class HttpTransport;    // sync/http_transport.h
struct CrackedUrl;      // sync/url_cracker.h
class CodePageConverter;  // catalog/code_pages.h

// How a new cache file is opened: a download is streamed straight through and carries the
// sequential-scan hint; the small files of an atomic write are opened plainly.
enum class WriteHint { Plain, SequentialScan };

class Platform {
public:
    virtual ~Platform() = default;

    // Milliseconds of a monotonic clock, and this process's id.
    virtual uint64_t tickCountMs() const = 0;
    virtual uint32_t currentProcessId() const = 0;

    // Files of the verified cache. Failures are SyncErrors of kind Filesystem named after the
    // Win32 call they stand for.
    // A file opened for sequential reading ("CreateFileW").
    virtual std::unique_ptr<CacheFileReader> openCacheFile(const std::filesystem::path& path) const = 0;
    // A new file that must not exist yet, written sequentially ("CreateFileW").
    virtual std::unique_ptr<CacheFileWriter> createCacheFile(const std::filesystem::path& path,
                                                             WriteHint hint) const = 0;
    // Replaces to with from in one step and makes the rename durable ("MoveFileExW").
    virtual void moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) const = 0;
    // Removes a file; a failure is ignored.
    virtual void deleteFileQuietly(const std::filesystem::path& path) const noexcept = 0;
    // A regular file; a status query that fails counts as absent.
    virtual bool isRegularFile(const std::filesystem::path& path) const noexcept = 0;

    // SHA-256 of cache files and request strings: BCrypt on Windows, the module's own elsewhere.
    virtual std::unique_ptr<Sha256Hasher> newSha256Hasher() const = 0;

    // The HTTPS client of the catalog worker; null when the build has none.
    virtual std::shared_ptr<HttpTransport> httpTransport() const = 0;
    // Splits an origin URL as WinHttpCrackUrl does; nothing when it cannot be cracked.
    virtual std::optional<CrackedUrl> crackUrl(std::u16string_view url) const = 0;

    // Conversions between the ANSI code page of player names and UTF-8 (the start-up binds them
    // for the catalog selection).
    virtual const CodePageConverter& codePages() const = 0;
};

}  // namespace tarvek
