#include <gtest/gtest.h>

#include <string>

#include "tools/support/map_image_hash.h"
#include "tools/support/netpbm_image.h"
#include "support/sim_map.h"

namespace tarvek::tools {
namespace {

std::string bytesOf(const std::vector<uint8_t>& pixels) { return std::string(pixels.begin(), pixels.end()); }

TEST(Netpbm, ParsesHeadersWithCommentsAndChecksTheData) {
    const auto pbm = parsePbm("P4\n# made by hand\n9 2\n" + bytesOf({0xFF, 0x80, 0x12, 0x00}));
    ASSERT_TRUE(pbm);
    EXPECT_EQ(pbm->width, 9u);
    EXPECT_EQ(pbm->height, 2u);
    EXPECT_EQ(pbm->rows, (std::vector<uint8_t>{0xFF, 0x80, 0x12, 0x00}));
    EXPECT_FALSE(parsePbm("P4\n9 2\n" + bytesOf({0xFF, 0x80, 0x12})));  // truncated
    EXPECT_FALSE(parsePbm("P1\n1 1\n1"));
    EXPECT_FALSE(parsePbm("P4\n0 2\n"));
    EXPECT_FALSE(parsePbm("P4\n99999999999 2\n"));
    const auto pgm = parsePgm("P5 3 1 255\n" + bytesOf({1, 2, 3}));
    ASSERT_TRUE(pgm);
    EXPECT_EQ(pgm->rows, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(parsePgm("P5 3 1 65535\n" + std::string(6, 'x')));  // 16-bit grey
    EXPECT_FALSE(parsePgm("P5 3 1 255" + bytesOf({1, 2, 3})));       // no separator
}

TEST(MapImageHash, MatchesTheHashDefinitions) {
    const auto rows = testing::patternMaskRows(13, 7, 9);
    NetpbmImage mask{13, 7, rows};
    EXPECT_EQ(geometryHashOfImage(mask), testing::referenceGeometryHash(rows, 13, 7));
    // Bits past the last pixel in the file do not count.
    for (size_t y = 0; y < 7; ++y) mask.rows[y * 2 + 1] |= 0x07;
    EXPECT_EQ(geometryHashOfImage(mask), testing::referenceGeometryHash(rows, 13, 7));

    const auto grey = testing::patternTerrain(5, 4, 2);
    EXPECT_EQ(terrainHashOfImage({5, 4, grey}), testing::referenceTerrainHash(grey, 5, 4));
    EXPECT_FALSE(terrainHashOfImage({32769, 1, std::vector<uint8_t>(32769)}));
    EXPECT_FALSE(geometryHashOfImage({32769, 1, std::vector<uint8_t>(4097)}));
}

}  // namespace
}  // namespace tarvek::tools
