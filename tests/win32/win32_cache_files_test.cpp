// The Win32 file seam of the verified cache.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "support/temp_dir.h"
#include "sync/cache_files.h"

namespace tarvek::testing {
namespace {

constexpr ULONG kFileModeInformation = 16;
constexpr ULONG kFileSequentialOnly = 0x4;

TEST(Win32CacheFiles, OnlyDownloadsAreOpenedForASequentialScan) {
    using QueryFile = LONG(WINAPI*)(HANDLE, ULONG_PTR*, void*, ULONG, ULONG);
    const auto query =
        reinterpret_cast<QueryFile>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile"));
    ASSERT_NE(query, nullptr);
    TempDir dir;
    for (const auto& [hint, sequential] : {std::pair{WriteHint::Plain, false}, {WriteHint::SequentialScan, true}}) {
        CacheFileWriter writer(dir.path() / (sequential ? "download" : "replacement"), hint);
        ULONG_PTR status[2]{};
        ULONG mode = 0;
        ASSERT_EQ(query(reinterpret_cast<HANDLE>(writer.nativeHandle()), status, &mode, sizeof mode,
                        kFileModeInformation),
                  0);
        EXPECT_EQ((mode & kFileSequentialOnly) != 0, sequential);
    }
}

}  // namespace
}  // namespace tarvek::testing
