// Win32 files of the verified cache.
#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_platform.h"
#include "sync/cache_files.h"
#include "sync/sync_error.h"
#include "sync/windows_error_text.h"

namespace tarvek::win32 {
namespace {

[[noreturn]] void failFile(const char* call) {
    throw SyncError(SyncErrorKind::Filesystem, windowsErrorText(call, GetLastError()));
}

HANDLE handleOf(intptr_t value) { return reinterpret_cast<HANDLE>(value); }
intptr_t valueOf(HANDLE handle) { return reinterpret_cast<intptr_t>(handle); }

constexpr DWORD kMaxIo = 1u << 30;

class Win32FileReader final : public CacheFileReader {
public:
    explicit Win32FileReader(const std::filesystem::path& path);
    ~Win32FileReader() override;
    bool size(uint64_t& bytes) const override;
    size_t read(char* buffer, size_t count) override;

private:
    intptr_t handle_;
};

class Win32FileWriter final : public CacheFileWriter {
public:
    Win32FileWriter(const std::filesystem::path& path, WriteHint hint);
    ~Win32FileWriter() override;
    void write(const char* data, size_t count) override;
    void flushAndClose() override;

private:
    intptr_t handle_;
};

}  // namespace

Win32FileReader::Win32FileReader(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) failFile("CreateFileW");
    handle_ = valueOf(file);
}

Win32FileReader::~Win32FileReader() { CloseHandle(handleOf(handle_)); }

bool Win32FileReader::size(uint64_t& bytes) const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handleOf(handle_), &size) || size.QuadPart < 0) return false;
    bytes = static_cast<uint64_t>(size.QuadPart);
    return true;
}

size_t Win32FileReader::read(char* buffer, size_t count) {
    DWORD got = 0;
    if (!ReadFile(handleOf(handle_), buffer, static_cast<DWORD>(std::min<size_t>(count, kMaxIo)), &got, nullptr))
        failFile("ReadFile");
    return got;
}

Win32FileWriter::Win32FileWriter(const std::filesystem::path& path, WriteHint hint) {
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (hint == WriteHint::SequentialScan ? FILE_FLAG_SEQUENTIAL_SCAN : 0);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) failFile("CreateFileW");
    handle_ = valueOf(file);
}

Win32FileWriter::~Win32FileWriter() {
    if (handle_ != valueOf(INVALID_HANDLE_VALUE)) CloseHandle(handleOf(handle_));
}

void Win32FileWriter::write(const char* data, size_t count) {
    while (count > 0) {
        DWORD put = 0;
        if (!WriteFile(handleOf(handle_), data, static_cast<DWORD>(std::min<size_t>(count, kMaxIo)), &put, nullptr) ||
            put == 0)
            failFile("WriteFile");
        data += put;
        count -= put;
    }
}

void Win32FileWriter::flushAndClose() {
    if (!FlushFileBuffers(handleOf(handle_))) failFile("FlushFileBuffers");
    CloseHandle(handleOf(handle_));
    handle_ = valueOf(INVALID_HANDLE_VALUE);
}

std::unique_ptr<CacheFileReader> Win32Platform::openCacheFile(const std::filesystem::path& path) const {
    return std::make_unique<Win32FileReader>(path);
}

std::unique_ptr<CacheFileWriter> Win32Platform::createCacheFile(const std::filesystem::path& path,
                                                               WriteHint hint) const {
    return std::make_unique<Win32FileWriter>(path, hint);
}

void Win32Platform::moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) const {
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failFile("MoveFileExW");
}

void Win32Platform::deleteFileQuietly(const std::filesystem::path& path) const noexcept { DeleteFileW(path.c_str()); }

bool Win32Platform::isRegularFile(const std::filesystem::path& path) const noexcept {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT));
}

uint32_t Win32Platform::currentProcessId() const { return GetCurrentProcessId(); }

uint64_t Win32Platform::tickCountMs() const { return GetTickCount64(); }

}  // namespace tarvek::win32
