#pragma once
// The simulated game's layout code writing into this process's own memory: game objects in
// pages of their own below 4 GiB (host addresses are 32 bits wide), each followed by a reserved
// page so an overrun reads as unreadable, and the game's image in the block this program's image
// holds for it. Writes and reads are the game's own and pass any protection; protections are
// real, so the module's guarded reads and patches meet what they meet in the game.
#include <vector>

#include "sim/address_space.h"
#include "tools/tarvek-host32/game_image.h"

namespace tarvek::host32 {

class RealAddressSpace final : public sim::AddressSpace {
public:
    explicit RealAddressSpace(const GameImage& image) : image_(image) {}
    ~RealAddressSpace() override;  // releases the objects; the image stays
    RealAddressSpace(const RealAddressSpace&) = delete;
    RealAddressSpace& operator=(const RealAddressSpace&) = delete;

    HostAddr allocate(uint32_t size) override;
    // The image block from one page above the base up to size is made read-write and zeroed;
    // the page of headers at the base stays as the loader left it. Throws when the block is short.
    HostAddr allocateImage(uint32_t size) override;
    void write(HostAddr addr, const void* src, size_t n) override;
    void read(HostAddr addr, void* dst, size_t n) const override;
    // The bytes themselves; throws unless the whole range is committed and writable.
    uint8_t* span(HostAddr addr, size_t n) override;
    void protect(HostAddr addr, uint32_t size, uint32_t newProtect) override;

private:
    GameImage image_;
    std::vector<void*> objects_;
};

}  // namespace tarvek::host32
