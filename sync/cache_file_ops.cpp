#include "sync/cache_file_ops.h"

#include <system_error>

#include "sync/cache_files.h"
#include "sync/sync_deadline.h"
#include "sync/sync_error.h"
#include "sync/windows_error_text.h"

namespace tarvek {

std::string readFileLimited(const Platform& platform, const std::filesystem::path& path, uint64_t limit) {
    const auto reader = platform.openCacheFile(path);
    uint64_t size = 0;
    if (!reader->size(size) || size > limit)
        throw SyncError(SyncErrorKind::Filesystem, "cached file exceeds its size limit");
    std::string bytes(static_cast<size_t>(size), '\0');
    size_t filled = 0;
    while (filled < bytes.size()) {
        const size_t got = reader->read(bytes.data() + filled, bytes.size() - filled);
        if (got == 0) throw SyncError(SyncErrorKind::Filesystem, windowsErrorText("ReadFile", winerr::kHandleEof));
        filled += got;
    }
    return bytes;
}

std::filesystem::path makeTempSiblingPath(const Platform& platform, const std::filesystem::path& target) {
    static std::atomic<uint64_t> sequence{0};
    auto name = target.native();
    const auto suffix = ".tmp." + std::to_string(platform.currentProcessId()) + "." + std::to_string(platform.tickCountMs()) + "." +
                        std::to_string(sequence.fetch_add(1));
    name.append(suffix.begin(), suffix.end());
    return std::filesystem::path(name);
}

void ensureDirectory(const std::filesystem::path& directory) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error)
        throw SyncError(SyncErrorKind::Filesystem,
                        "could not create cache directory (error " + std::to_string(error.value()) + ")");
}

void writeFileAtomically(const Platform& platform, const std::filesystem::path& path, std::string_view bytes,
                         const std::atomic<bool>& cancel) {
    ensureDirectory(path.parent_path());
    const auto temp = makeTempSiblingPath(platform, path);
    try {
        {
            // Closed before the clean-up below: Windows cannot delete an open file.
            const auto writer = platform.createCacheFile(temp, WriteHint::Plain);
            writer->write(bytes.data(), bytes.size());
            writer->flushAndClose();
        }
        checkCancel(cancel);
        platform.moveReplacing(temp, path);
    } catch (...) {
        platform.deleteFileQuietly(temp);
        throw;
    }
}

}  // namespace tarvek
