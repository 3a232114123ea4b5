#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/win32_host_memory.h"

namespace tarvek {
namespace {

// Host addresses are 32 bits wide: reserve address space below 4 GiB for the test.
uint8_t* reserveLow(SIZE_T size, DWORD type, DWORD protect) {
    for (uintptr_t at = 0x20000000; at < 0xF0000000; at += 0x01000000) {
        void* p = VirtualAlloc(reinterpret_cast<void*>(at), size, type, protect);
        if (p) return static_cast<uint8_t*>(p);
    }
    return nullptr;
}

HostAddr addrOf(const void* p) { return static_cast<HostAddr>(reinterpret_cast<uintptr_t>(p)); }

class Win32GuardedRead : public ::testing::Test {
protected:
    void SetUp() override {
        GetSystemInfo(&info);
        page = info.dwPageSize;
        // Eight pages reserved; the first four committed read-write with different protections.
        block = reserveLow(8 * page, MEM_RESERVE, PAGE_NOACCESS);
        ASSERT_NE(block, nullptr);
        ASSERT_TRUE(VirtualAlloc(block, 4 * page, MEM_COMMIT, PAGE_READWRITE));
        block[page - 4] = 0x12;
        block[page + 3] = 0x34;
        DWORD old;
        ASSERT_TRUE(VirtualProtect(block + page, page, PAGE_READONLY, &old));
        ASSERT_TRUE(VirtualProtect(block + 2 * page, page, PAGE_NOACCESS, &old));
        ASSERT_TRUE(VirtualProtect(block + 3 * page, page, PAGE_READWRITE | PAGE_GUARD, &old));
    }
    void TearDown() override {
        if (block) VirtualFree(block, 0, MEM_RELEASE);
    }

    SYSTEM_INFO info{};
    DWORD page = 0;
    uint8_t* block = nullptr;
    win32::Win32HostMemory memory;
};

TEST_F(Win32GuardedRead, ReadsAcrossProtectionsThatAllowIt) {
    uint8_t bytes[8] = {};
    ASSERT_TRUE(memory.read(addrOf(block + page - 4), bytes, sizeof bytes));
    EXPECT_EQ(bytes[0] << 8 | bytes[7], 0x1234);
}

TEST_F(Win32GuardedRead, RefusesNoAccessGuardReservedNullAndZeroLength) {
    uint8_t byte = 0;
    EXPECT_FALSE(memory.read(addrOf(block + 2 * page), &byte, 1));
    EXPECT_FALSE(memory.read(addrOf(block + 2 * page - 1), &byte, 2));  // runs into no-access
    EXPECT_FALSE(memory.read(addrOf(block + 3 * page), &byte, 1));      // guard page
    EXPECT_FALSE(memory.read(addrOf(block + 5 * page), &byte, 1));      // reserved only
    EXPECT_FALSE(memory.read(0, &byte, 1));
    EXPECT_FALSE(memory.read(addrOf(block), &byte, 0));
    EXPECT_FALSE(memory.isReadable(0xFFFFFFF0u, 0x20));
    // The guard page was only queried, never touched: it is still a guard page.
    MEMORY_BASIC_INFORMATION mbi{};
    ASSERT_EQ(VirtualQuery(block + 3 * page, &mbi, sizeof mbi), sizeof mbi);
    EXPECT_TRUE(mbi.Protect & PAGE_GUARD);
}

TEST(Win32GuardedReadAllocations, SpansTwoAllocationsAndStopsAtAFreePage) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const SIZE_T granule = info.dwAllocationGranularity;
    // Two adjacent allocations, then a free page after the second.
    uint8_t* first = reserveLow(3 * granule, MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_NE(first, nullptr);
    VirtualFree(first, 0, MEM_RELEASE);
    uint8_t* a = static_cast<uint8_t*>(VirtualAlloc(first, granule, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    uint8_t* b = static_cast<uint8_t*>(VirtualAlloc(first + granule, granule, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_EQ(a, first);
    ASSERT_EQ(b, first + granule);

    win32::Win32HostMemory memory;
    a[granule - 1] = 0xAB;
    b[0] = 0xCD;
    uint8_t two[2] = {};
    ASSERT_TRUE(memory.read(addrOf(b - 1), two, 2));
    EXPECT_EQ(two[0] << 8 | two[1], 0xABCD);
    EXPECT_TRUE(memory.isReadable(addrOf(a), 2 * granule));
    EXPECT_FALSE(memory.isReadable(addrOf(b + granule - 4), 8));  // third granule is free

    VirtualFree(a, 0, MEM_RELEASE);
    VirtualFree(b, 0, MEM_RELEASE);
}

TEST(Win32HostWrites, ProtectWriteAndFlushCode) {
    uint8_t* code = reserveLow(4096, MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READ);
    ASSERT_NE(code, nullptr);
    win32::Win32HostMemory memory;
    uint32_t old = 0;
    ASSERT_TRUE(memory.protect(addrOf(code + 1), 5, protection::ExecuteReadWrite, old));
    EXPECT_EQ(old, protection::ExecuteRead);
    const uint8_t call[5] = {0xE8, 1, 2, 3, 4};
    ASSERT_TRUE(memory.write(addrOf(code + 1), call, sizeof call));
    memory.flushCode(addrOf(code + 1), 5);
    uint32_t restored = 0;
    ASSERT_TRUE(memory.protect(addrOf(code + 1), 5, old, restored));
    EXPECT_EQ(restored, protection::ExecuteReadWrite);
    EXPECT_EQ(memory.readU32(addrOf(code + 2)), 0x04030201u);

    // Class-table entries: a pair stored at once where it is only 4-aligned, and an exchange.
    ASSERT_TRUE(memory.protect(addrOf(code), 4096, protection::ReadWrite, old));
    ASSERT_TRUE(memory.writeU64(addrOf(code + 12), 0x2222222211111111u));
    uint32_t previous = 0;
    ASSERT_TRUE(memory.exchangeU32(addrOf(code + 16), 0x33333333u, previous));
    EXPECT_EQ(previous, 0x22222222u);
    EXPECT_EQ(memory.readU32(addrOf(code + 12)), 0x11111111u);
    EXPECT_EQ(memory.readU32(addrOf(code + 16)), 0x33333333u);
    VirtualFree(code, 0, MEM_RELEASE);
}

}  // namespace
}  // namespace tarvek
