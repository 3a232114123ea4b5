#pragma once
// The simulated host game: its image, an address space for game objects, and the routines the
// module calls. Worm messages are dispatched the way the game does it, through the worm class
// table entry, so whatever the module patched there is what runs; a call to an address that is
// neither a host routine nor a registered module routine aborts, as it would crash the game.
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "host/host_calls.h"
#include "sim/sim_address_space.h"
#include "sim/sim_memory.h"

namespace tarvek::sim {

// Synthetic addresses at which module routines are registered.
constexpr HostAddr kModuleRoutineBase = 0x70000000;

struct WormMessage {
    HostAddr handler = 0;
    HostAddr worm = 0;
    HostAddr sender = 0;
    uint32_t type = 0;
    uint32_t size = 0;
    HostAddr data = 0;
};

struct RopeDraw {
    HostAddr worm = 0;
    uint32_t colourEntry9 = 0;
    uint32_t colourEntry7 = 0;
};

class SimHost : public HostCalls {
public:
    using WormRoutine = std::function<void(HostAddr worm, HostAddr sender, uint32_t type, uint32_t size, HostAddr data)>;

    // Lays out the image and binds this host as the module's host.
    SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    SimMemory& memory() { return memory_; }
    HostAddr base() const { return base_; }

    // Game objects are allocated here.
    SimAddressSpace& space() { return space_; }

    void setSchemeTurnTime(int8_t rawByte);
    void unmapScheme();

    // Registers a module routine under a new synthetic address.
    HostAddr registerWormRoutine(WormRoutine routine);
    // The table entry as a hook patch would leave it: routine in the entry, the old entry returned.
    HostAddr patchWormHandler(HostAddr routine);

    // Sends a message to a worm through the worm class table.
    void sendWormMessage(HostAddr worm, uint32_t type, HostAddr sender = 0, uint32_t size = 0, HostAddr data = 0);

    // Messages the host's own worm handler received, in order.
    const std::vector<WormMessage>& hostHandlerMessages() const { return hostHandled_; }
    const std::vector<HostAddr>& wormDraws() const { return wormDraws_; }
    const std::vector<RopeDraw>& ropeDraws() const { return ropeDraws_; }

    void callWormHandler(HostAddr handler, HostAddr worm, HostAddr sender, uint32_t messageType, uint32_t size,
                         HostAddr data) override;
    void drawWorm(HostAddr wormImage) override;
    void drawRope(HostAddr worm, uint32_t colourEntry9, uint32_t colourEntry7) override;

private:
    SimMemory memory_;
    SimAddressSpace space_{memory_};
    HostAddr base_;
    std::map<HostAddr, WormRoutine> routines_;
    std::vector<WormMessage> hostHandled_;
    std::vector<HostAddr> wormDraws_;
    std::vector<RopeDraw> ropeDraws_;
};

}  // namespace tarvek::sim
