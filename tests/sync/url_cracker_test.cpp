#include <gtest/gtest.h>

#include "sync/url_cracker.h"

namespace tarvek {
namespace {

TEST(UrlCracker, SplitsSchemeHostPortPathAndQuery) {
    auto url = crackUrlPortable(u"HTTPS://user:pw@Ghosts.Example:8443/a/b?x=1#f");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->scheme, UrlScheme::Https);
    EXPECT_EQ(url->userName, u"user");
    EXPECT_EQ(url->password, u"pw");
    EXPECT_EQ(url->host, u"Ghosts.Example");
    EXPECT_EQ(url->port, 8443);
    EXPECT_EQ(url->path, u"/a/b");
    EXPECT_EQ(url->extraInfo, u"?x=1#f");

    url = crackUrlPortable(u"http://h");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->scheme, UrlScheme::Http);
    EXPECT_EQ(url->port, 80);
    EXPECT_TRUE(url->path.empty());
}

TEST(UrlCracker, AuthorityEndsOnlyAtASlash) {
    // Without a "/" the query and fragment stay in the host text, as WinHttpCrackUrl leaves them.
    auto url = crackUrlPortable(u"https://h?x=1");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->host, u"h?x=1");
    EXPECT_TRUE(url->extraInfo.empty());
    url = crackUrlPortable(u"https://h/#f");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->path, u"/#f");
    url = crackUrlPortable(u"https://a@b@h/p@q");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->userName, u"a");
    EXPECT_EQ(url->host, u"b@h");
    EXPECT_EQ(url->path, u"/p@q");
}

TEST(UrlCracker, PortDigitsDefaultsAndOverflow) {
    EXPECT_EQ(crackUrlPortable(u"https://h:")->port, 443);
    EXPECT_EQ(crackUrlPortable(u"https://h:12ab")->port, 12);
    EXPECT_EQ(crackUrlPortable(u"https://h:+5")->port, 0);
    EXPECT_EQ(crackUrlPortable(u"https://h:00080")->port, 80);
    EXPECT_EQ(crackUrlPortable(u"https://h:65535")->port, 65535);
    EXPECT_FALSE(crackUrlPortable(u"https://h:65536"));
    EXPECT_FALSE(crackUrlPortable(u"https://h:4294967297/"));
}

TEST(UrlCracker, RefusesOtherSchemesAndMissingSlashes) {
    for (const char16_t* text : {u"", u"h", u"ftp://h", u"https:h", u"https:/h", u"https:\\\\h", u"https://",
                                 u"mailto:x@y"})
        EXPECT_FALSE(crackUrlPortable(text));
}

}  // namespace
}  // namespace tarvek
