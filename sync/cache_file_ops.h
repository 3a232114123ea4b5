#pragma once
// File operations of the verified cache built on the file seam: bounded reads, temporary
// siblings and atomic replacement.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "host/platform.h"

namespace tarvek {

constexpr size_t kCacheChunkBytes = 65536;

// The whole file, when it holds at most limit bytes; else Filesystem
// "cached file exceeds its size limit".
std::string readFileLimited(const Platform& platform, const std::filesystem::path& path, uint64_t limit);

// target + ".tmp." + process id + "." + tick count + "." + a process-wide sequence number.
std::filesystem::path makeTempSiblingPath(const Platform& platform, const std::filesystem::path& target);

// Creates the directory and its missing parents; Filesystem
// "could not create cache directory (error N)".
void ensureDirectory(const std::filesystem::path& directory);

// Writes a temporary sibling, flushes it and moves it over path; the temporary file is removed
// on every failure. Only the cancel flag is checked, right before the move.
void writeFileAtomically(const Platform& platform, const std::filesystem::path& path, std::string_view bytes,
                         const std::atomic<bool>& cancel);

}  // namespace tarvek
