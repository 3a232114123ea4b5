#include <gtest/gtest.h>

#include "ghostdata/sha256.h"
#include "support/build_platform.h"
#include "sync/asset_safety.h"
#include "sync/catalog_request_string.h"
#include "tests/sync/expect_sync_error.h"

namespace tarvek {
namespace {

TEST(CatalogRequestString, PercentEncodingKeepsOnlyUnreservedBytes) {
    EXPECT_EQ(percentEncodeQueryValue("AZaz09-._~"), "AZaz09-._~");
    EXPECT_EQ(percentEncodeQueryValue("Ann & Bo"), "Ann%20%26%20Bo");
    EXPECT_EQ(percentEncodeQueryValue("a+b/c?d=e%"), "a%2Bb%2Fc%3Fd%3De%25");
    EXPECT_EQ(percentEncodeQueryValue("J\xC3\xBC\x7F\xFF"), "J%C3%BC%7F%FF");
    EXPECT_EQ(percentEncodeQueryValue(std::string("\0", 1)), "%00");
}

TEST(CatalogRequestString, KeysInOrderWithUpperCaseMapHash) {
    CatalogSyncRequest request;
    request.seasonKey = "2026 spring";
    EXPECT_EQ(buildCatalogRequestString(request), "/v1/public/catalog/module.ini?seasonKey=2026%20spring");

    request.playerAccountKey = "acc-1";
    request.playerName = "Ann & Bo";
    request.mapHash = std::string(32, 'a') + std::string(32, 'F');
    request.raceType = "BigRR";
    request.trackRank = 7;
    EXPECT_EQ(buildCatalogRequestString(request),
              "/v1/public/catalog/module.ini?seasonKey=2026%20spring&playerAccountKey=acc-1"
              "&playerName=Ann%20%26%20Bo&mapHash=" +
                  std::string(32, 'A') + std::string(32, 'F') + "&raceType=BigRR&trackRank=7");
}

TEST(CatalogRequestString, DigestIsUpperCaseSha256OfTheString) {
    const std::string text = "/v1/public/catalog/module.ini?seasonKey=s";
    std::string expected = sha256Hex(text);
    for (char& c : expected) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(requestDigest(testing::BuildPlatform(nullptr), text), expected);
    EXPECT_EQ(requestDigest(testing::BuildPlatform(nullptr), ""), "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
}

TEST(CatalogRequestString, MaximalTextsExceedTheUrlLimit) {
    CatalogSyncRequest request;
    request.seasonKey = std::string(256, '\xFF');
    request.playerAccountKey = std::string(256, ' ');
    request.playerName = std::string(256, '&');
    const std::string text = buildCatalogRequestString(request);
    EXPECT_GT(text.size(), 2048u);
    EXPECT_TRUE(testing::failsWith([&] { normalizeGhostUrl(text); }, SyncErrorKind::UnsafeAsset,
                                   "catalog contains an unsafe ghost URL"));
    request.playerName = "Ann";
    request.playerAccountKey.reset();
    request.seasonKey = "s";
    EXPECT_EQ(normalizeGhostUrl(buildCatalogRequestString(request)), buildCatalogRequestString(request));
}

}  // namespace
}  // namespace tarvek
