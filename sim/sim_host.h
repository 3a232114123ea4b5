#pragma once
// The simulated host game: its image (class tables, call sites, scheme byte), a heap for game
// objects, and the routines the module calls. The game's calls go through what the module may
// have patched: worm messages and display calls through class-table entries, the turn timer
// through the E8 displacements of its call sites.
#include <cstdint>
#include <functional>
#include <vector>

#include "host/host_calls.h"
#include "sim/sim_heap.h"
#include "sim/sim_memory.h"
#include "sim/sim_routines.h"

namespace tarvek::sim {

constexpr HostAddr kHostBase = 0x00400000;
constexpr uint32_t kHostImageSize = 0x00490000;
constexpr HostAddr kHeapBase = 0x10000000;
// Synthetic addresses at which module routines are registered.
constexpr HostAddr kModuleRoutineBase = 0x70000000;
// The game's own display routines: one per class-table slot, from this image offset on.
constexpr uint32_t kDisplayRoutines = 0x1C0000;
constexpr uint32_t kDisplaySlots = 38;

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

// Module routines by call contract.
struct SimRoutines {
    RoutineTable<void(HostAddr worm, HostAddr sender, uint32_t type, uint32_t size, HostAddr data)> worm;
    RoutineTable<int32_t(HostAddr display, const TextDraw& draw)> text;
    RoutineTable<void(HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, uint32_t width)>
        wideLine;
    RoutineTable<void(HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour)> thinLine;
    RoutineTable<void(HostAddr display, int32_t x, int32_t y, uint32_t flags, uint32_t sprite)> sprite;
    RoutineTable<void(HostAddr display, const BitmapDraw& draw)> bitmap;
    RoutineTable<void(HostAddr display)> frameEnd;
    RoutineTable<void(HostAddr timer)> timerUpdate;
    RoutineTable<void(HostAddr timer, uint32_t team)> timerTeam;
    RoutineTable<HostAddr(const TimerRender& render)> timerRender;
};

class SimHost : public HostCalls {
public:
    using WormRoutine = std::function<void(HostAddr worm, HostAddr sender, uint32_t type, uint32_t size, HostAddr data)>;

    // Maps the image and binds this host as the module's host.
    SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    SimMemory& memory() { return memory_; }
    const SimMemory& memory() const { return memory_; }
    HostAddr base() const { return kHostBase; }

    // Game objects live on this heap.
    SimHeap& heap() { return heap_; }

    void setSchemeTurnTime(int8_t rawByte);
    void unmapScheme();

    // Registers a module routine under a new synthetic address.
    template <typename Signature>
    HostAddr registerRoutine(RoutineTable<Signature> SimRoutines::*table, std::function<Signature> routine) {
        const HostAddr address = kModuleRoutineBase + nextRoutine_++ * 0x10;
        (routines_.*table).add(address, std::move(routine));
        return address;
    }
    HostAddr registerWormRoutine(WormRoutine routine) { return registerRoutine(&SimRoutines::worm, std::move(routine)); }

    // A class-table entry as a hook patch leaves it: routine in the entry, the old entry returned.
    HostAddr replaceTableEntry(HostAddr entry, HostAddr routine);
    HostAddr patchWormHandler(HostAddr routine);
    // A call site as a hook patch leaves it: E8 to routine, the old target returned.
    HostAddr replaceCallTarget(HostAddr site, HostAddr routine);
    // The game's own routine behind a display class-table slot.
    HostAddr hostDisplayRoutine(uint32_t slot) const { return kHostBase + kDisplayRoutines + slot * 0x10; }

    // Sends a message to a worm through the worm class table.
    void sendWormMessage(HostAddr worm, uint32_t type, HostAddr sender = 0, uint32_t size = 0, HostAddr data = 0);

    // Messages the host's own worm handler received, in order.
    const std::vector<WormMessage>& hostHandlerMessages() const { return hostHandled_; }
    const std::vector<HostAddr>& wormDraws() const { return wormDraws_; }
    const std::vector<RopeDraw>& ropeDraws() const { return ropeDraws_; }
    uint32_t framesEnded() const { return framesEnded_; }
    void clearCallRecords();

    void callWormHandler(HostAddr handler, HostAddr worm, HostAddr sender, uint32_t messageType, uint32_t size,
                         HostAddr data) override;
    void drawWorm(HostAddr wormImage) override;
    void drawRope(HostAddr worm, uint32_t colourEntry9, uint32_t colourEntry7) override;

    int32_t callDisplayText(HostAddr routine, HostAddr display, const TextDraw& draw) override;
    void callDisplayWideLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                             uint32_t colour, uint32_t width) override;
    void callDisplayThinLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                             uint32_t colour) override;
    void callDisplaySprite(HostAddr routine, HostAddr display, int32_t x, int32_t y, uint32_t flags,
                           uint32_t sprite) override;
    void callDisplayBitmap(HostAddr routine, HostAddr display, const BitmapDraw& draw) override;
    void callDisplayFrameEnd(HostAddr routine, HostAddr display) override;

    // The turn timer's routines; the game's own at their image offsets, the module's registered.
    void callTimerUpdate(HostAddr routine, HostAddr timer);
    void callTimerTeam(HostAddr routine, HostAddr timer, uint32_t team);
    HostAddr callTimerRender(HostAddr routine, const TimerRender& render) override;

    // When set, the game's own display routines return at once (measuring the module alone).
    void setDisplayRoutinesIdle(bool idle) { displayIdle_ = idle; }

private:
    SimMemory memory_;
    SimHeap heap_{memory_, kHeapBase};
    SimRoutines routines_;
    uint32_t nextRoutine_ = 0;
    std::vector<WormMessage> hostHandled_;
    std::vector<HostAddr> wormDraws_;
    std::vector<RopeDraw> ropeDraws_;
    uint32_t framesEnded_ = 0;
    bool displayIdle_ = false;
};

}  // namespace tarvek::sim
