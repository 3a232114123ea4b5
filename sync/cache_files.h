#pragma once
// The file seam of the verified cache (Platform::openCacheFile, createCacheFile): Win32 files in
// the Windows build, POSIX files elsewhere. Failures are SyncErrors of kind Filesystem named
// after the Win32 call they stand for.
#include <cstddef>
#include <cstdint>

namespace tarvek {

class CacheFileReader {
public:
    virtual ~CacheFileReader() = default;
    // False when the size cannot be queried ("GetFileSizeEx").
    virtual bool size(uint64_t& bytes) const = 0;
    // Up to count bytes; 0 at the end ("ReadFile").
    virtual size_t read(char* buffer, size_t count) = 0;
};

class CacheFileWriter {
public:
    virtual ~CacheFileWriter() = default;
    // Writes every byte ("WriteFile").
    virtual void write(const char* data, size_t count) = 0;
    // Forces the data to the disk ("FlushFileBuffers") and closes the file.
    virtual void flushAndClose() = 0;
};

}  // namespace tarvek
