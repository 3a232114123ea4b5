// The ETag sidecar: what makes it valid for a request, and what is silently ignored.
#include <gtest/gtest.h>

#include "expect_sync_error.h"
#include "sync/etag_sidecar.h"

namespace tarvek::testing {
namespace {

const std::string kDigest(64, 'A');
const std::string kCatalogSha = "ab" + std::string(62, 'c');

std::string sidecarText(const std::string& magic, const std::string& etag, const std::string& key,
                        const std::string& sha, const std::string& newline = "\n") {
    return magic + newline + etag + newline + key + newline + sha + newline;
}

TEST(EtagSidecarTest, RoundTripsAndAcceptsCrLfAndLowerCaseDigests) {
    const EtagSidecar written{"\"v7\"", kDigest, std::string(64, 'B')};
    const auto parsed = parseEtagSidecar(formatEtagSidecar(written), kDigest);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->etag + " " + parsed->catalogSha256, "\"v7\" " + std::string(64, 'B'));

    const auto crlf = parseEtagSidecar(sidecarText("TARVEK-ETAG-V2", "W/\"x\"", std::string(64, 'a'), kCatalogSha, "\r\n"),
                                       kDigest);
    ASSERT_TRUE(crlf);
    EXPECT_EQ(crlf->etag + " " + crlf->catalogSha256, "W/\"x\" AB" + std::string(62, 'C'));
    // The fourth line may lack its LF; anything after it is ignored.
    EXPECT_TRUE(parseEtagSidecar("TARVEK-ETAG-V2\n\"x\"\n" + kDigest + "\n" + kCatalogSha, kDigest));
    EXPECT_TRUE(parseEtagSidecar(sidecarText("TARVEK-ETAG-V2", "\"x\"", kDigest, kCatalogSha) + "extra\n", kDigest));
}

TEST(EtagSidecarTest, OtherRequestsMagicsAndShapesAreIgnoredSilently) {
    EXPECT_FALSE(parseEtagSidecar(sidecarText("TARVEK-ETAG-V1", "\"x\"", kDigest, kCatalogSha), kDigest));
    EXPECT_FALSE(parseEtagSidecar(sidecarText("TARVEK-ETAG-V2", "x", kDigest, kCatalogSha), kDigest));
    EXPECT_FALSE(parseEtagSidecar(sidecarText("TARVEK-ETAG-V2", "\"x\"", std::string(64, 'B'), kCatalogSha), kDigest));
    EXPECT_FALSE(parseEtagSidecar("TARVEK-ETAG-V2\n\"x\"\n" + kDigest + "\n", kDigest));
}

TEST(EtagSidecarTest, AMalformedDigestLineIsAnError) {
    EXPECT_TRUE(failsWith([] { parseEtagSidecar(sidecarText("TARVEK-ETAG-V2", "\"x\"", "1234", kCatalogSha), kDigest); },
                          SyncErrorKind::InvalidCatalog, "catalog contains an invalid SHA-256"));
    EXPECT_TRUE(failsWith([] { parseEtagSidecar(sidecarText("TARVEK-ETAG-V2", "\"x\"", kDigest, "zz"), kDigest); },
                          SyncErrorKind::InvalidCatalog, "catalog contains an invalid SHA-256"));
}

}  // namespace
}  // namespace tarvek::testing
