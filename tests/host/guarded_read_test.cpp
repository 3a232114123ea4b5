#include <gtest/gtest.h>

#include <array>

#include "sim/sim_memory.h"

namespace tarvek {
namespace {

using sim::kPageSize;
using sim::SimMemory;

class GuardedRead : public ::testing::Test {
protected:
    void SetUp() override {
        memory.map(0x10000, 2 * kPageSize, protection::ReadWrite);
        memory.map(0x12000, kPageSize, protection::ReadOnly);  // adjacent, different protection
        memory.map(0x20000, kPageSize, 0, RegionState::Reserve);
        memory.map(0x30000, kPageSize, protection::NoAccess);
        memory.map(0x40000, kPageSize, protection::ReadWrite | protection::Guard);
        memory.map(0xFFFFF000u, kPageSize, protection::ReadOnly);
        memory.pokeU32(0x10010, 0xDEADBEEF);
    }
    SimMemory memory;
};

TEST_F(GuardedRead, ReadsCommittedMemoryAcrossRegions) {
    EXPECT_EQ(memory.readU32(0x10010), 0xDEADBEEFu);
    std::array<uint8_t, 16> bytes{};
    EXPECT_TRUE(memory.read(0x12000 - 8, bytes.data(), bytes.size()));  // spans RW and RO regions
    EXPECT_TRUE(memory.isReadable(0x10000, 3 * kPageSize));
    EXPECT_EQ(memory.readU8(0xFFFFFFFFu), uint8_t{0});  // the very last byte is fine
}

TEST_F(GuardedRead, RefusesNullZeroLengthAndWrap) {
    uint8_t byte = 0x5A;
    EXPECT_FALSE(memory.read(0, &byte, 1));
    EXPECT_FALSE(memory.read(0x10000, &byte, 0));
    EXPECT_FALSE(memory.isReadable(0xFFFFFFFFu, 2));
    EXPECT_FALSE(memory.readU32(0xFFFFFFFEu).has_value());
    // A length whose sum with the address wraps even a 64-bit size_t.
    EXPECT_FALSE(memory.isReadable(0x10000, SIZE_MAX - 0xFFFF));
    EXPECT_EQ(byte, 0x5A);
}

TEST_F(GuardedRead, FieldsOfNullObjectsOrPastTheTopAreRefused) {
    EXPECT_EQ(memory.readU32(0x10000, 0x10), 0xDEADBEEFu);
    EXPECT_FALSE(memory.readU32(0, 0x10010));
    // 0xFFFFF000 + 0x11010 would wrap to the readable 0x10010.
    EXPECT_FALSE(memory.readU32(0xFFFFF000u, 0x11010));  // a refused read leaves the destination alone
}

TEST_F(GuardedRead, RefusesReservedNoAccessGuardAndFreeMemory) {
    for (const uint32_t at : {0x20000u, 0x30000u, 0x40000u, 0x50000u}) EXPECT_FALSE(memory.readU32(at)) << at;
    // A range that starts readable but runs into a free page is refused as a whole.
    EXPECT_FALSE(memory.isReadable(0x12FFC, 8));
    EXPECT_TRUE(memory.isReadable(0x12FFC, 4));
}

TEST_F(GuardedRead, WalksOnlyTheRegionsItNeeds) {
    SimMemory many;
    for (uint32_t page = 0; page < 64; ++page)  // alternating protections: 64 separate regions
        many.map(0x100000 + page * kPageSize, kPageSize, page % 2 ? protection::ReadOnly : protection::ReadWrite);
    const uint64_t before = many.queryCount();
    EXPECT_TRUE(many.isReadable(0x100000, 64 * kPageSize));
    EXPECT_EQ(many.queryCount() - before, 64u);
    EXPECT_TRUE(many.isReadable(0x100010, 8));
    EXPECT_EQ(many.queryCount() - before, 65u);
}

TEST(SimMemoryWrites, WritesNeedWritablePagesAndProtectSplitsRegions) {
    SimMemory memory;
    memory.map(0x400000, 4 * kPageSize, protection::ExecuteRead);
    const uint32_t patch = 0x11223344;
    EXPECT_FALSE(memory.write(0x401000, &patch, 4));

    uint32_t old = 0;
    ASSERT_TRUE(memory.protect(0x401FFE, 4, protection::ExecuteReadWrite, old));  // straddles two pages
    EXPECT_EQ(old, protection::ExecuteRead);
    EXPECT_TRUE(memory.write(0x401FFE, &patch, 4));
    EXPECT_EQ(memory.peekU32(0x401FFE), patch);

    MemoryRegion region;
    ASSERT_TRUE(memory.query(0x400000, region));
    EXPECT_EQ(region.protect, protection::ExecuteRead);
    ASSERT_TRUE(memory.query(0x402000, region));
    EXPECT_EQ(region.protect, protection::ExecuteReadWrite);
    ASSERT_TRUE(memory.query(0x403000, region));
    EXPECT_EQ(region.protect, protection::ExecuteRead);

    memory.flushCode(0x401FFE, 4);
    EXPECT_EQ(memory.flushCount(0x402001), 1);
    EXPECT_EQ(memory.flushCount(0x402002), 0);

    EXPECT_FALSE(memory.protect(0x500000, 4, protection::ReadWrite, old));  // nothing mapped
}

}  // namespace
}  // namespace tarvek
