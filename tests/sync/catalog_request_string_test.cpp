#include <gtest/gtest.h>

#include "support/build_platform.h"
#include "sync/catalog_request_string.h"

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
    EXPECT_EQ(requestDigest(testing::BuildPlatform(nullptr), "abc"),
              "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    EXPECT_EQ(requestDigest(testing::BuildPlatform(nullptr), ""), "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
}

}  // namespace
}  // namespace tarvek
