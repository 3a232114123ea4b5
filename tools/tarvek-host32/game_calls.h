#pragma once
// The game's calls into code the module may have patched, made the way the game makes them:
// through the class-table entries as they are now, and through the E8 displacement at each call
// site, with the game's registers.
#include <cstdint>

#include "host/host_calls.h"
#include "sim/address_space.h"
#include "sim/sim_timer.h"
#include "tools/tarvek-host32/game_registers.h"

namespace tarvek::host32 {

// One call through a turn-timer call site: the registers and flags the game set and saw.
struct SiteCall {
    GameRegisters before;
    GameRegisters after;
};

// The game's calls. As HostCalls it serves the render queue, which calls the display's entries.
// The game's side packs its arguments itself rather than through the module's own caller: a wrong
// argument order shared by both sides would cancel out and go unseen.
class GameCalls final : public HostCalls {
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

    // The turn timer's three call sites, with the registers the game's code around them sets:
    // the update (timer in ECX); the team's box (timer in ECX and EAX, team in EDI and EDX); the
    // digits (renderer in EAX, text in ESI, selector in EDX, out in ECX, and the six arguments
    // pushed from them).
    SiteCall timerUpdate(HostAddr timer) const;
    SiteCall timerTeam(HostAddr timer, uint32_t team) const;
    SiteCall timerRender(const sim::TurnTimerObjects& timer, uint32_t selector, HostAddr out) const;

    // The display's frame-end entry (slot 26).
    void displayFrameEnd(HostAddr display) const;

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

private:
    const sim::AddressSpace& space_;
    HostAddr base_;
};

}  // namespace tarvek::host32
