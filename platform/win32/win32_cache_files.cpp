// Win32 files of the verified cache.
#include <windows.h>

#include <algorithm>

#include "sync/cache_files.h"
#include "sync/sync_error.h"
#include "sync/windows_error_text.h"

namespace tarvek {
namespace {

[[noreturn]] void failFile(const char* call) {
    throw SyncError(SyncErrorKind::Filesystem, windowsErrorText(call, GetLastError()));
}

HANDLE handleOf(intptr_t value) { return reinterpret_cast<HANDLE>(value); }
intptr_t valueOf(HANDLE handle) { return reinterpret_cast<intptr_t>(handle); }

constexpr DWORD kMaxIo = 1u << 30;

}  // namespace

CacheFileReader::CacheFileReader(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) failFile("CreateFileW");
    handle_ = valueOf(file);
}

CacheFileReader::~CacheFileReader() { CloseHandle(handleOf(handle_)); }

bool CacheFileReader::size(uint64_t& bytes) const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handleOf(handle_), &size) || size.QuadPart < 0) return false;
    bytes = static_cast<uint64_t>(size.QuadPart);
    return true;
}

size_t CacheFileReader::read(char* buffer, size_t count) {
    DWORD got = 0;
    if (!ReadFile(handleOf(handle_), buffer, static_cast<DWORD>(std::min<size_t>(count, kMaxIo)), &got, nullptr))
        failFile("ReadFile");
    return got;
}

CacheFileWriter::CacheFileWriter(const std::filesystem::path& path, WriteHint hint) {
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (hint == WriteHint::SequentialScan ? FILE_FLAG_SEQUENTIAL_SCAN : 0);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) failFile("CreateFileW");
    handle_ = valueOf(file);
}

CacheFileWriter::~CacheFileWriter() {
    if (handle_ != valueOf(INVALID_HANDLE_VALUE)) CloseHandle(handleOf(handle_));
}

void CacheFileWriter::write(const char* data, size_t count) {
    while (count > 0) {
        DWORD put = 0;
        if (!WriteFile(handleOf(handle_), data, static_cast<DWORD>(std::min<size_t>(count, kMaxIo)), &put, nullptr) ||
            put == 0)
            failFile("WriteFile");
        data += put;
        count -= put;
    }
}

void CacheFileWriter::flushAndClose() {
    if (!FlushFileBuffers(handleOf(handle_))) failFile("FlushFileBuffers");
    CloseHandle(handleOf(handle_));
    handle_ = valueOf(INVALID_HANDLE_VALUE);
}

void moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failFile("MoveFileExW");
}

void deleteFileQuietly(const std::filesystem::path& path) noexcept { DeleteFileW(path.c_str()); }

bool isRegularFile(const std::filesystem::path& path) noexcept {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT));
}

uint32_t currentProcessId() { return GetCurrentProcessId(); }

uint64_t tickCountMs() { return GetTickCount64(); }

}  // namespace tarvek
