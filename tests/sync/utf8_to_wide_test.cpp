#include <gtest/gtest.h>

#include "sync/utf8_to_wide.h"
#include "tests/sync/expect_sync_error.h"

namespace tarvek::testing {
namespace {

TEST(Utf8ToWide, LengthMustFitASigned32BitCount) {
    EXPECT_NO_THROW(checkConvertibleLength("GhostFile", 0x7FFFFFFF));
    EXPECT_TRUE(failsWith([] { checkConvertibleLength("GhostFile", size_t{0x80000000u}); },
                          SyncErrorKind::InvalidRequest, "GhostFile is too long"));
}

TEST(Utf8ToWide, NarrowingRoundTrips) {
    const std::string text = "a\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(wideToUtf8(utf8ToWide("n", text)), text);
    EXPECT_EQ(wideToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tarvek::testing
