#pragma once
// The file seam of the verified cache: Win32 files in the Windows build, POSIX files elsewhere.
// Failures are SyncErrors of kind Filesystem named after the Win32 call they stand for.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace tarvek {

// A file opened for sequential reading ("CreateFileW").
class CacheFileReader {
public:
    explicit CacheFileReader(const std::filesystem::path& path);
    ~CacheFileReader();
    CacheFileReader(const CacheFileReader&) = delete;
    CacheFileReader& operator=(const CacheFileReader&) = delete;

    // False when the size cannot be queried ("GetFileSizeEx").
    bool size(uint64_t& bytes) const;
    // Up to count bytes; 0 at the end ("ReadFile").
    size_t read(char* buffer, size_t count);

private:
    intptr_t handle_;
};

// How a new cache file is opened: a download is streamed straight through and carries the
// sequential-scan hint; the small files of an atomic write are opened plainly.
enum class WriteHint { Plain, SequentialScan };

// A new file that must not exist yet, written sequentially ("CreateFileW").
class CacheFileWriter {
public:
    explicit CacheFileWriter(const std::filesystem::path& path, WriteHint hint = WriteHint::Plain);
    ~CacheFileWriter();
    CacheFileWriter(const CacheFileWriter&) = delete;
    CacheFileWriter& operator=(const CacheFileWriter&) = delete;

    // Writes every byte ("WriteFile").
    void write(const char* data, size_t count);
    // Forces the data to the disk ("FlushFileBuffers") and closes the file.
    void flushAndClose();
    // The open file's HANDLE (Windows) or descriptor, for queries the seam does not wrap.
    intptr_t nativeHandle() const { return handle_; }

private:
    intptr_t handle_;
    uint64_t written_ = 0;  // bytes written so far
};

// Replaces to with from in one step and makes the rename durable ("MoveFileExW").
void moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to);
// Removes a file; a failure is ignored.
void deleteFileQuietly(const std::filesystem::path& path) noexcept;
// A regular file; a status query that fails counts as absent.
bool isRegularFile(const std::filesystem::path& path) noexcept;

uint32_t currentProcessId();
uint64_t tickCountMs();

}  // namespace tarvek
