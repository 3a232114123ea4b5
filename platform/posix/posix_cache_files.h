#pragma once
// POSIX twin of the Win32 file calls of the verified cache, and the clock and process id.
#include <cstdint>
#include <filesystem>
#include <memory>

#include "sync/cache_files.h"

namespace tarvek::posix {

std::unique_ptr<CacheFileReader> openCacheFile(const std::filesystem::path& path);
std::unique_ptr<CacheFileWriter> createCacheFile(const std::filesystem::path& path);
void moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to);
void deleteFileQuietly(const std::filesystem::path& path) noexcept;
bool isRegularFile(const std::filesystem::path& path) noexcept;
uint32_t currentProcessId();
uint64_t tickCountMs();

}  // namespace tarvek::posix
