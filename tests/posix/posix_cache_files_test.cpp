// The POSIX file seam of the verified cache.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/posix/posix_platform.h"
#include "support/temp_dir.h"
#include "tests/sync/expect_sync_error.h"

namespace tarvek::testing {
namespace {

TEST(PosixCacheFiles, ADirectorySyncFailureAfterTheRenameIsNotAFailedMove) {
    TempDir dir;
    const std::string from = dir.write("from", "new");
    // No descriptor left: the rename still works, opening the directory for its fsync cannot.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    const int lowestFree = ::open("/dev/null", O_RDONLY);
    ::close(lowestFree);
    const rlimit tight{static_cast<rlim_t>(lowestFree), saved.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    const auto outcome = failsWith([&] { PosixPlatform().moveReplacing(from, dir.file("to")); }, SyncErrorKind::Filesystem,
                                   "fsync of the cache directory failed (Windows error 24)");
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_TRUE(outcome);
    EXPECT_EQ(readFileBytes(dir.file("to")), "new");
}

}  // namespace
}  // namespace tarvek::testing
