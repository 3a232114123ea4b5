// POSIX twin of the Win32 file calls of the verified cache. Errors carry errno in place of the
// Windows error number.
#include "platform/posix/posix_platform.h"
#include "sync/cache_files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "sync/sync_error.h"
#include "sync/windows_error_text.h"

namespace tarvek {
namespace {

[[noreturn]] void fail(const char* call) {
    throw SyncError(SyncErrorKind::Filesystem, windowsErrorText(call, static_cast<uint32_t>(errno)));
}

int fdOf(intptr_t handle) { return static_cast<int>(handle); }

// Write-back of a large file starts while it is still downloading, so the final flush has little
// left to wait for.
constexpr uint64_t kWritebackStepBytes = 4u << 20;

// fsync of the directory makes a rename durable on POSIX file systems. It runs after the move
// has happened, so its failure is reported as its own and never as a failed move.
void syncDirectoryOf(const std::filesystem::path& path) {
    const auto parent = path.parent_path();
    const int fd = ::open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) fail("fsync of the cache directory");
    const int status = ::fsync(fd);
    const int savedErrno = errno;
    ::close(fd);
    errno = savedErrno;
    if (status != 0) fail("fsync of the cache directory");
}

class PosixFileReader final : public CacheFileReader {
public:
    explicit PosixFileReader(const std::filesystem::path& path);
    ~PosixFileReader() override;
    bool size(uint64_t& bytes) const override;
    size_t read(char* buffer, size_t count) override;

private:
    intptr_t handle_;
};

class PosixFileWriter final : public CacheFileWriter {
public:
    PosixFileWriter(const std::filesystem::path& path, WriteHint hint);
    ~PosixFileWriter() override;
    void write(const char* data, size_t count) override;
    void flushAndClose() override;

private:
    intptr_t handle_;
    uint64_t written_ = 0;  // bytes written so far
};

}  // namespace

PosixFileReader::PosixFileReader(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail("CreateFileW");
    handle_ = fd;
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
}

PosixFileReader::~PosixFileReader() { ::close(fdOf(handle_)); }

bool PosixFileReader::size(uint64_t& bytes) const {
    struct stat info {};
    if (::fstat(fdOf(handle_), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    bytes = static_cast<uint64_t>(info.st_size);
    return true;
}

size_t PosixFileReader::read(char* buffer, size_t count) {
    for (;;) {
        const ssize_t got = ::read(fdOf(handle_), buffer, count);
        if (got >= 0) return static_cast<size_t>(got);
        if (errno != EINTR) fail("ReadFile");
    }
}

PosixFileWriter::PosixFileWriter(const std::filesystem::path& path, WriteHint hint) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) fail("CreateFileW");
    handle_ = fd;
#ifdef POSIX_FADV_SEQUENTIAL
    if (hint == WriteHint::SequentialScan) ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#else
    (void)hint;
#endif
}

PosixFileWriter::~PosixFileWriter() {
    if (handle_ >= 0) ::close(fdOf(handle_));
}

void PosixFileWriter::write(const char* data, size_t count) {
    while (count > 0) {
        const ssize_t put = ::write(fdOf(handle_), data, count);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) fail("WriteFile");
        data += put;
        count -= static_cast<size_t>(put);
        const uint64_t before = written_;
        written_ += static_cast<uint64_t>(put);
#ifdef SYNC_FILE_RANGE_WRITE
        if (written_ / kWritebackStepBytes != before / kWritebackStepBytes) {
            const uint64_t start = (written_ / kWritebackStepBytes - 1) * kWritebackStepBytes;
            ::sync_file_range(fdOf(handle_), static_cast<off_t>(start), static_cast<off_t>(kWritebackStepBytes),
                              SYNC_FILE_RANGE_WRITE);
        }
#else
        (void)before;
#endif
    }
}

void PosixFileWriter::flushAndClose() {
    // The data and the size that reading it back needs; other metadata may follow later.
    if (::fdatasync(fdOf(handle_)) != 0) fail("FlushFileBuffers");
    const int fd = fdOf(handle_);
    handle_ = -1;
    if (::close(fd) != 0) fail("FlushFileBuffers");
}

std::unique_ptr<CacheFileReader> PosixPlatform::openCacheFile(const std::filesystem::path& path) const {
    return std::make_unique<PosixFileReader>(path);
}

std::unique_ptr<CacheFileWriter> PosixPlatform::createCacheFile(const std::filesystem::path& path,
                                                               WriteHint hint) const {
    return std::make_unique<PosixFileWriter>(path, hint);
}

void PosixPlatform::moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) const {
    if (::rename(from.c_str(), to.c_str()) != 0) fail("MoveFileExW");
    syncDirectoryOf(to);
}

void PosixPlatform::deleteFileQuietly(const std::filesystem::path& path) const noexcept { ::unlink(path.c_str()); }

bool PosixPlatform::isRegularFile(const std::filesystem::path& path) const noexcept {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

uint32_t PosixPlatform::currentProcessId() const { return static_cast<uint32_t>(::getpid()); }

uint64_t PosixPlatform::tickCountMs() const {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

}  // namespace tarvek
