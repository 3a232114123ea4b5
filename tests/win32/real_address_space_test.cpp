#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/win32/win32_host_memory.h"
#include "sim/host_image_layout.h"
#include "sim/sim_address_space.h"
#include "tools/scenarios/hook_survey.h"
#include "tools/tarvek-host32/real_address_space.h"

namespace tarvek::host32 {
using namespace tarvek::scenarios;
namespace {

HostAddr addrOf(const void* p) { return static_cast<HostAddr>(reinterpret_cast<uintptr_t>(p)); }

DWORD protectionAt(HostAddr addr) {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(reinterpret_cast<void*>(static_cast<uintptr_t>(addr)), &info, sizeof info);
    return info.Protect;
}

// Stands in for the block a 32-bit host's own image holds: committed, below 4 GiB, not zeroed.
class ImageBlock {
public:
    explicit ImageBlock(uint32_t size) {
        for (uintptr_t at = 0x20000000; !bytes_ && at < 0xF0000000; at += 0x01000000)
            bytes_ = static_cast<uint8_t*>(
                VirtualAlloc(reinterpret_cast<void*>(at), size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (bytes_) std::fill(bytes_, bytes_ + size, 0xCC);
        image = {addrOf(bytes_), addrOf(bytes_) + 0x1000, addrOf(bytes_) + size};
    }
    ~ImageBlock() { VirtualFree(bytes_, 0, MEM_RELEASE); }
    uint8_t* bytes_ = nullptr;
    GameImage image;
};

TEST(RealAddressSpace, LaysOutTheImageTheSimulatedHostLaysOut) {
    ImageBlock block(kGameImageSize);
    ASSERT_NE(block.bytes_, nullptr);
    RealAddressSpace real(block.image);
    const HostAddr base = sim::layOutHostImage(real);
    ASSERT_EQ(base, block.image.base);

    sim::SimMemory simMemory;
    sim::SimAddressSpace simSpace(simMemory, sim::kHeapBase, base);
    sim::layOutHostImage(simSpace);
    std::vector<uint8_t> expected(sim::kHostImageSize - 0x1000);
    simMemory.peek(base + 0x1000, expected.data(), expected.size());
    EXPECT_EQ(std::vector<uint8_t>(block.bytes_ + 0x1000, block.bytes_ + sim::kHostImageSize), expected);
    EXPECT_EQ(block.bytes_[0], 0xCC) << "the header page belongs to the loader";

    win32::Win32HostMemory memory;
    for (const auto& point : gameHookPoints())
        EXPECT_EQ(hookTarget(memory, base, point), hookTarget(simMemory, base, point)) << std::hex << point.offset;
    EXPECT_EQ(protectionAt(base + 0x17AD69), DWORD{PAGE_EXECUTE_READ});
}

TEST(RealAddressSpace, TheGamesOwnAccessPassesProtectionsAndKeepsThem) {
    ImageBlock block(kGameImageSize);
    RealAddressSpace space(block.image);
    const HostAddr object = space.allocate(0x2010);
    ASSERT_NE(object, 0u);
    win32::Win32HostMemory memory;
    EXPECT_TRUE(memory.isReadable(object, 0x3000));
    EXPECT_FALSE(memory.isReadable(object + 0x3000, 1)) << "an overrun reads as unreadable";
    EXPECT_EQ(memory.readU32(object + 0x2000), 0u);

    space.protect(object, 0x1000, protection::NoAccess);
    space.protect(object + 0x1000, 0x1000, protection::ReadOnly);
    space.writeU32(object + 0xFFE, 0x11223344);  // across both pages
    EXPECT_EQ(space.readU32(object + 0xFFE), 0x11223344u);
    EXPECT_EQ(protectionAt(object), DWORD{PAGE_NOACCESS});
    EXPECT_EQ(protectionAt(object + 0x1000), DWORD{PAGE_READONLY});
}

TEST(RealAddressSpace, RefusesAnImageBlockThatIsTooShort) {
    ImageBlock block(0x100000);
    RealAddressSpace space(block.image);
    EXPECT_THROW(space.allocateImage(sim::kHostImageSize), std::runtime_error);
}

}  // namespace
}  // namespace tarvek::host32
