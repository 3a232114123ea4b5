// Files of the Windows build: module paths in the ANSI code page, and the cache's file flags.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "ghostdata/ghost_loader.h"
#include "host/settings.h"
#include "support/ghost_files.h"
#include "support/temp_dir.h"
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

TEST(Win32Files, OnlyDownloadsAreOpenedForASequentialScan) {
    constexpr ULONG kFileModeInformation = 16;
    constexpr ULONG kFileSequentialOnly = 0x4;
    using QueryFile = LONG(WINAPI*)(HANDLE, ULONG_PTR*, void*, ULONG, ULONG);
    const auto query = reinterpret_cast<QueryFile>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
    ASSERT_NE(query, nullptr);
    TempDir dir;
    for (const auto& [hint, sequential] : {std::pair{WriteHint::Plain, false}, {WriteHint::SequentialScan, true}}) {
        CacheFileWriter writer(dir.path() / (sequential ? "download" : "replacement"), hint);
        ULONG_PTR status[2]{};
        ULONG mode = 0;
        const auto handle = reinterpret_cast<HANDLE>(writer.nativeHandle());
        ASSERT_EQ(query(handle, status, &mode, sizeof mode, kFileModeInformation), 0);
        EXPECT_EQ((mode & kFileSequentialOnly) != 0, sequential);
    }
}

}  // namespace
}  // namespace tarvek::testing
