#pragma once
// The simulated host game: its image, an address space for game objects, and the routines the
// module calls. The game's calls go through what the module may have patched: worm messages and
// display calls through class-table entries, chat and turn timer through the E8 displacements of
// their call sites. A call to an address that is neither a host routine nor a registered module
// routine aborts, as it would crash the game.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/host_calls.h"
#include "sim/sim_address_space.h"
#include "sim/sim_memory.h"
#include "sim/sim_routines.h"

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

// The registers a routine entered through a call site sees, and the arguments on its stack
// (first argument first). The routine's result is what it leaves in EAX.
struct SimCall {
    uint32_t eax = 0;
    uint32_t ecx = 0;
    uint32_t edx = 0;
    uint32_t ebx = 0;
    uint32_t esi = 0;
    uint32_t edi = 0;
    std::vector<uint32_t> stackArguments;
};

struct ChatPrint {
    HostAddr routine = 0;
    HostAddr chatObject = 0;
    uint32_t printWord = 0;
    std::string text;
};

struct RopeDraw {
    HostAddr worm = 0;
    uint32_t colourEntry9 = 0;
    uint32_t colourEntry7 = 0;
};

// Module routines reached through class tables, one table per call contract.
struct SimRoutines {
    RoutineTable<void(HostAddr worm, HostAddr sender, uint32_t type, uint32_t size, HostAddr data)> worm;
    RoutineTable<uint32_t(HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                          uint32_t width)>
        wideLine;
    RoutineTable<uint32_t(HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour)> thinLine;
    RoutineTable<uint32_t(HostAddr display, int32_t x, int32_t y, uint32_t flags, uint32_t sprite)> sprite;
    RoutineTable<void(HostAddr display)> frameEnd;
};

class SimHost : public HostCalls {
public:
    using WormRoutine = std::function<void(HostAddr worm, HostAddr sender, uint32_t type, uint32_t size, HostAddr data)>;
    using CodeRoutine = std::function<uint32_t(SimCall& call)>;

    // Lays out the image and binds this host as the module's host.
    SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    SimMemory& memory() { return memory_; }
    const SimMemory& memory() const { return memory_; }
    HostAddr base() const { return base_; }

    // Game objects are allocated here.
    SimAddressSpace& space() { return space_; }

    void setSchemeTurnTime(int8_t rawByte);
    void unmapScheme();

    // Registers a module routine for a class-table call contract under a new synthetic address.
    template <typename Signature>
    HostAddr registerRoutine(RoutineTable<Signature> SimRoutines::*table, std::function<Signature> routine) {
        const HostAddr address = nextRoutineAddress();
        (routines_.*table).add(address, std::move(routine));
        return address;
    }
    HostAddr registerWormRoutine(WormRoutine routine) { return registerRoutine(&SimRoutines::worm, std::move(routine)); }

    // Code reached through call sites: the game's own routines at image addresses, and module
    // routines under new synthetic addresses.
    void defineHostRoutine(HostAddr address, CodeRoutine routine);
    HostAddr registerCodeRoutine(CodeRoutine routine);
    // Runs the routine at target.
    uint32_t callCode(HostAddr target, SimCall& call);
    // Executes the 5-byte call at site as the game does: decodes its E8 displacement and calls
    // whatever the call now reaches, so a routine patched there runs in place of the game's.
    uint32_t executeCallSite(HostAddr site, SimCall& call);

    // Sends a message to a worm through the worm class table.
    void sendWormMessage(HostAddr worm, uint32_t type, HostAddr sender = 0, uint32_t size = 0, HostAddr data = 0);

    // Messages the host's own worm handler received, in order.
    const std::vector<WormMessage>& hostHandlerMessages() const { return hostHandled_; }
    const std::vector<HostAddr>& wormDraws() const { return wormDraws_; }
    const std::vector<RopeDraw>& ropeDraws() const { return ropeDraws_; }
    // Lines given to the chat print routine, in order.
    const std::vector<ChatPrint>& chatPrints() const { return chatPrints_; }
    // Lines the game's chat-send routine received (sent on to the other players), in order.
    const std::vector<std::string>& chatSends() const { return chatSends_; }
    uint32_t framesEnded() const { return framesEnded_; }
    void clearCallRecords();

    void callWormHandler(HostAddr handler, HostAddr worm, HostAddr sender, uint32_t messageType, uint32_t size,
                         HostAddr data) override;
    void drawWorm(HostAddr wormImage) override;
    void drawRope(HostAddr worm, uint32_t colourEntry9, uint32_t colourEntry7) override;
    void printChatLine(HostAddr routine, HostAddr chatObject, uint32_t printWord, const char* text) override;

    int32_t callDisplayText(HostAddr routine, HostAddr display, const TextDraw& draw) override;
    uint32_t callDisplayWideLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                 uint32_t colour, uint32_t width) override;
    uint32_t callDisplayThinLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                 uint32_t colour) override;
    uint32_t callDisplaySprite(HostAddr routine, HostAddr display, int32_t x, int32_t y, uint32_t flags,
                               uint32_t sprite) override;
    void callDisplayBitmap(HostAddr routine, HostAddr display, const BitmapDraw& draw) override;
    // The frame-end slot: the module's overlay entry draws, then enters the game's routine.
    void callDisplayFrameEnd(HostAddr routine, HostAddr display);

    // When set, the game's own display routines return at once (measuring the module alone).
    void setDisplayRoutinesIdle(bool idle) { displayIdle_ = idle; }

private:
    HostAddr nextRoutineAddress();

    SimMemory memory_;
    SimAddressSpace space_{memory_};
    HostAddr base_;
    SimRoutines routines_;
    std::map<HostAddr, CodeRoutine> code_;
    HostAddr nextRoutine_ = kModuleRoutineBase;
    std::vector<WormMessage> hostHandled_;
    std::vector<HostAddr> wormDraws_;
    std::vector<RopeDraw> ropeDraws_;
    std::vector<ChatPrint> chatPrints_;
    std::vector<std::string> chatSends_;
    uint32_t framesEnded_ = 0;
    bool displayIdle_ = false;
};

// Aborts with a message naming the address: what a call into nowhere would do to the game.
[[noreturn]] void callIntoNowhere(HostAddr address);

}  // namespace tarvek::sim
