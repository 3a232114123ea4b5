// File operations of the verified cache, through this build's file and hash seams.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "expect_sync_error.h"
#include "support/build_platform.h"
#include "support/temp_dir.h"
#include "sync/cache_file_ops.h"
#include "sync/cache_files.h"
#include "sync/sha256_hasher.h"

namespace tarvek::testing {
namespace {

const BuildPlatform platform;

size_t fileCount(const std::filesystem::path& directory) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory)) ++count;
    return count;
}

TEST(CacheFileOpsTest, TemporarySiblingsNameTheProcessTickAndSequence) {
    const std::filesystem::path target = std::filesystem::path("dir") / "catalog.ini";
    std::set<std::string> names;
    for (int i = 0; i < 50; ++i) names.insert(makeTempSiblingPath(platform, target).filename().string());
    EXPECT_EQ(names.size(), 50u);
    const std::regex shape("catalog\\.ini\\.tmp\\." + std::to_string(platform.currentProcessId()) + "\\.[0-9]+\\.[0-9]+");
    EXPECT_TRUE(std::regex_match(*names.begin(), shape)) << *names.begin();
    EXPECT_EQ(makeTempSiblingPath(platform, target).parent_path(), target.parent_path());
}

TEST(CacheFileOpsTest, AtomicWritesReplaceTheFileAndLeaveNothingBehind) {
    TempDir dir;
    const auto path = dir.path() / "sub" / "catalog.ini";
    const std::atomic<bool> cancel{false};
    writeFileAtomically(platform, path, "first", cancel);
    writeFileAtomically(platform, path, "second", cancel);
    EXPECT_EQ(readFileBytes(path.string()), "second");
    EXPECT_EQ(fileCount(path.parent_path()), 1u);
}

TEST(CacheFileOpsTest, ACancelledWriteKeepsTheOldFileAndRemovesItsTemporary) {
    TempDir dir;
    const auto path = dir.path() / "catalog.ini";
    writeFileAtomically(platform, path, "old", std::atomic<bool>{false});
    const std::atomic<bool> cancel{true};
    EXPECT_TRUE(failsWith([&] { writeFileAtomically(platform, path, "new", cancel); }, SyncErrorKind::Cancelled,
                          "catalog synchronization cancelled"));
    EXPECT_EQ(readFileBytes(path.string()), "old");
    EXPECT_EQ(fileCount(dir.path()), 1u);
}

TEST(CacheFileOpsTest, ReadsAreBoundedAndMissingFilesNameTheCall) {
    TempDir dir;
    const auto path = dir.write("sidecar", std::string(1025, 'x'));
    EXPECT_EQ(readFileLimited(platform, path, 1025).size(), 1025u);
    EXPECT_TRUE(failsWith([&] { readFileLimited(platform, path, 1024); }, SyncErrorKind::Filesystem,
                          "cached file exceeds its size limit"));
    try {
        readFileLimited(platform, dir.path() / "absent", 10);
        FAIL() << "no error";
    } catch (const SyncError& error) {
        EXPECT_EQ(error.kind(), SyncErrorKind::Filesystem);
        EXPECT_EQ(std::string(error.what()).rfind("CreateFileW failed (Windows error ", 0), 0u) << error.what();
    }
    EXPECT_TRUE(platform.isRegularFile(path));
    EXPECT_FALSE(platform.isRegularFile(dir.path()));
    EXPECT_FALSE(platform.isRegularFile(dir.path() / "absent"));
}

TEST(CacheFileOpsTest, ACreateNewWriterRefusesAnExistingFile) {
    TempDir dir;
    const auto path = dir.write("taken", "x");
    EXPECT_THROW(platform.createCacheFile(path, WriteHint::Plain), SyncError);
    EXPECT_EQ(readFileBytes(path), "x");
}

TEST(CacheSha256Test, IsStandardSha256InUpperCaseHex) {
    EXPECT_EQ(cacheSha256Hex(platform, "abc"), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    const auto pieces = platform.newSha256Hasher();
    const std::string text(200000, 'q');
    pieces->update(text.data(), 70000);
    pieces->update(text.data() + 70000, text.size() - 70000);
    EXPECT_EQ(pieces->finishHex(), cacheSha256Hex(platform, text));
}

}  // namespace
}  // namespace tarvek::testing
