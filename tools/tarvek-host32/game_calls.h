#pragma once
// The game's calls into code the module may have patched, made the way the game makes them:
// through the class-table entries as they are now, and through the E8 displacement at each call
// site, with the game's registers.
#include <cstdint>

#include "sim/address_space.h"

namespace tarvek::host32 {

class GameCalls {
public:
    GameCalls(const sim::AddressSpace& space, HostAddr base) : space_(space), base_(base) {}

    // worm HandleMessage(sender, type, size, data) through the worm class table.
    void wormMessage(HostAddr worm, uint32_t type) const;
    // The LoadLandDat call of the map loader, the landscape in ECX.
    void loadLandDat(HostAddr landscape) const;
    // Landscape InitBorders(left, right, top, bottom) through the landscape class table.
    void initBorders(HostAddr landscape, int32_t left, int32_t right, int32_t top, int32_t bottom) const;

    // The chat-send call of the game's chat box: the chat object in ECX, the text in EAX, one
    // stack argument. Returns EAX.
    uint32_t chatSend(HostAddr chatObject, HostAddr text) const;

private:
    const sim::AddressSpace& space_;
    HostAddr base_;
};

}  // namespace tarvek::host32
