#include <gtest/gtest.h>

#include <bit>

#include "ghostdata/map_hash.h"
#include "sim/sim_address_space.h"
#include "sim/sim_bitmap.h"
#include "support/sim_map.h"

namespace tarvek::testing {
namespace {

struct MaskCase {
    sim::SimMemory memory;
    sim::SimAddressSpace space{memory};
    sim::SimBitmap bitmap;

    MaskCase(const std::vector<uint8_t>& msbRows, uint32_t width, uint32_t height, uint32_t stride,
             uint8_t junk = 0xA5) {
        bitmap = sim::placeBitmap(space, 1, width, height, stride, sim::hostMaskRows(msbRows, width, height, stride, junk));
    }
    std::optional<MaskHash> hash() {
        MaskHash out;
        auto mask = readHostBitmap(memory, bitmap.object);
        if (!mask || !hashMaskBitmap(memory, *mask, out)) return std::nullopt;
        return out;
    }
    void poke(uint32_t offset, uint32_t value) { memory.pokeU32(bitmap.object + offset, value); }
};

TEST(GeometryHash, NormalisesBitOrderAndIgnoresPadding) {
    // Width 9: two bytes per hashed row, only the top bit of the second byte is a pixel.
    const auto rows = patternMaskRows(9, 5, 3);
    const std::string expected = referenceGeometryHash(rows, 9, 5);
    MaskCase tight(rows, 9, 5, 2, 0xFF);
    MaskCase wide(rows, 9, 5, 7, 0x5A);
    const auto a = tight.hash();
    const auto b = wide.hash();
    ASSERT_TRUE(a && b);
    uint64_t solid = 0;
    for (uint8_t byte : rows) solid += static_cast<unsigned>(std::popcount(byte));
    EXPECT_EQ(std::tie(a->hash, a->stride, a->solidPixels), std::make_tuple(expected, 2u, solid));
    EXPECT_EQ(std::tie(b->hash, b->stride, b->solidPixels), std::make_tuple(expected, 7u, solid));
    EXPECT_EQ(a->hash.find_first_not_of("0123456789abcdef"), std::string::npos);
}

TEST(GeometryHash, ShapeLimits) {
    const auto rows = patternMaskRows(16, 2, 4);
    auto hashWith = [&](uint32_t offset, uint32_t value) {
        MaskCase mask(rows, 16, 2, 3);
        mask.poke(offset, value);
        return mask.hash().has_value();
    };
    EXPECT_TRUE(hashWith(0x10, 2));      // stride exactly ceil(W / 8)
    EXPECT_FALSE(hashWith(0x10, 1));     // stride below it
    EXPECT_FALSE(hashWith(0x10, 8193));  // stride above 8192
    EXPECT_FALSE(hashWith(0xC, 8));      // not a 1-bit bitmap
    EXPECT_FALSE(hashWith(0x8, 0));      // no pixels
    EXPECT_FALSE(hashWith(0x14, 0));
    EXPECT_FALSE(hashWith(0x18, 0));
    EXPECT_FALSE(hashWith(0x14, 32769));
    EXPECT_FALSE(hashWith(0x18, 32769));
    // The largest sides are accepted: 32768 pixels wide needs 4096 bytes per row.
    MaskCase wide(patternMaskRows(32768, 1, 5), 32768, 1, 8192);
    EXPECT_TRUE(wide.hash());
    MaskCase tall(patternMaskRows(1, 32768, 6), 1, 32768, 1);
    EXPECT_TRUE(tall.hash());
}

TEST(GeometryHash, UnreadableRowsGiveNoHash) {
    const auto rows = patternMaskRows(64, 3000, 7);
    MaskCase mask(rows, 64, 3000, 8);
    ASSERT_TRUE(mask.hash());
    mask.memory.setProtection(mask.bitmap.pixels + 2 * sim::kPageSize, sim::kPageSize, protection::NoAccess);
    EXPECT_FALSE(mask.hash());
    // The landscape route fails the same way when the landscape's mask field cannot be read.
    MaskHash out;
    EXPECT_FALSE(hashCollisionMask(mask.memory, 0x7000, out));
}

}  // namespace
}  // namespace tarvek::testing
