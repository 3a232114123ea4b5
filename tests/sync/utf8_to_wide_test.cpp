#include <gtest/gtest.h>

#include "sync/utf8_to_wide.h"
#include "tests/sync/expect_sync_error.h"

namespace tarvek {
namespace {

using testing::failsWith;

TEST(Utf8ToWide, DecodesEveryLengthAndSurrogatePairs) {
    EXPECT_EQ(utf8ToWide("n", ""), u"");
    EXPECT_EQ(utf8ToWide("n", "a\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80"), u"a\u00FC\u20AC\U0001F600");
    EXPECT_EQ(utf8ToWide("n", "\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
    EXPECT_EQ(utf8ToWide("n", std::string("\0x", 2)), std::u16string(u"\0x", 2));
}

TEST(Utf8ToWide, RefusesMalformedSequences) {
    for (const char* bad : {"\x80", "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xED\xA0\x80", "\xF0\x80\x80\x80",
                            "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF", "\xC3", "\xE2\x82", "a\xC3(", "\xE2\x28\xA1"})
        EXPECT_TRUE(failsWith([&] { utf8ToWide("playerName", bad); }, SyncErrorKind::InvalidRequest,
                              "playerName is not valid UTF-8"))
            << bad;
}

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
}  // namespace tarvek
