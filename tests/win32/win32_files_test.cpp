// Files of the Windows build: module paths in the ANSI code page, and the cache's file flags.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string_view>
#include <utility>

#include "ghostdata/ghost_loader.h"
#include "host/settings.h"
#include "support/ghost_files.h"
#include "support/temp_dir.h"
#include "platform/win32/win32_platform.h"
#include "sync/cache_files.h"

namespace tarvek::testing {
namespace {

// Written through the system's own reading of the ANSI bytes.
void writeAnsiFile(const std::string& path, const std::string& bytes) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

// Code page 1252 under Wine by default: 0x8A and 0x9E are letters with carons there, control
// characters in Latin-1.
TEST(Win32Files, SettingsAndGhostsInANonAsciiDirectoryAreFound) {
    TempDir root;
    const std::string directory = root.path().string() + "\\\x8A" "ampion";
    ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
    writeAnsiFile(directory + "\\wkTarvek.ini", "[WorldRecordGhost]\nGoldOpacityPercent=33\n");
    EXPECT_EQ(readSettings(directory + "\\wkTarvek.dll").goldOpacityPercent, 33);

    const std::string ghost = directory + "\\Ghost\x9E.tkghost";
    writeAnsiFile(ghost, encodeGhost(framesWithSegments({0, 0, 1})));
    GhostRecording recording;
    EXPECT_TRUE(loadGhostRecording(ghost, recording, "gold"));
    EXPECT_EQ(recording.frames.size(), 3u);
}

// The mode flags of the handle this process holds open on path; nothing when there is none.
std::optional<ULONG> openFileMode(const std::filesystem::path& path) {
    using QueryFile = LONG(WINAPI*)(HANDLE, ULONG_PTR*, void*, ULONG, ULONG);
    const auto query = reinterpret_cast<QueryFile>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
    for (uintptr_t value = 4; value < 0x10000; value += 4) {
        const auto handle = reinterpret_cast<HANDLE>(value);
        wchar_t name[MAX_PATH];
        const DWORD length = GetFinalPathNameByHandleW(handle, name, MAX_PATH, 0);
        if (length == 0 || length >= MAX_PATH || !std::wstring_view(name, length).ends_with(path.filename().native()))
            continue;
        ULONG_PTR status[2]{};
        ULONG mode = 0;
        if (query(handle, status, &mode, sizeof mode, 16 /* FileModeInformation */) == 0) return mode;
    }
    return std::nullopt;
}

TEST(Win32Files, OnlyDownloadsAreOpenedForASequentialScan) {
    constexpr ULONG kFileSequentialOnly = 0x4;
    TempDir dir;
    for (const auto& [hint, name] : {std::pair{WriteHint::Plain, "replacement"}, {WriteHint::SequentialScan, "download"}}) {
        const auto path = dir.path() / name;
        const auto writer = win32::Win32Platform().createCacheFile(path, hint);
        const std::optional<ULONG> mode = openFileMode(path);
        ASSERT_TRUE(mode) << name;
        EXPECT_EQ((*mode & kFileSequentialOnly) != 0, hint == WriteHint::SequentialScan) << name;
    }
}

}  // namespace
}  // namespace tarvek::testing
