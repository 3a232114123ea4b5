#include "tools/tarvek-host32/game_calls.h"

#include "host/host_layout.h"
#include "sim/host_image_layout.h"

extern "C" uint32_t host32CallChatSend(uint32_t target, uint32_t object, uint32_t text);

namespace tarvek::host32 {
namespace {

namespace image = host_layout::image;
namespace display_table = host_layout::display_table;

// Values the game's code happens to hold in the registers a call site does not set, and flags
// set around it: each site gets its own, so a value that strays from one register to another or
// comes back changed shows.
constexpr uint32_t kSiteFlags[3] = {0x8D5, 0x045, 0x883};

GameRegisters siteRegisters(uint32_t site) {
    const uint32_t tag = site << 8;
    GameRegisters r;
    r.eax = 0xA0000000 | tag;
    r.ecx = 0xC0000000 | tag;
    r.edx = 0xD0000000 | tag;
    r.ebx = 0xB0000000 | tag;
    r.esi = 0x50000000 | tag;
    r.edi = 0xE0000000 | tag;
    r.eflags = kSiteFlags[site] | 0x2;
    return r;
}

uint32_t word(int32_t value) { return static_cast<uint32_t>(value); }

template <size_t Count>
uint32_t callMember(HostAddr routine, HostAddr object, const uint32_t (&arguments)[Count]) {
    GameRegisters in, out;
    in.ecx = object;
    host32CallWithRegisters(routine, &in, &out, arguments, Count);
    return out.eax;
}

}  // namespace

void GameCalls::wormMessage(HostAddr worm, uint32_t type) const {
    const uint32_t arguments[] = {0, type, 0, 0};
    callMember(space_.readU32(base_ + image::kWormHandleMessageEntry), worm, arguments);
}

void GameCalls::loadLandDat(HostAddr landscape) const {
    GameRegisters in, out;
    in.ecx = landscape;
    host32CallWithRegisters(sim::callTarget(space_, base_, image::kLoadLandDatCallSite), &in, &out, nullptr, 0);
}

void GameCalls::initBorders(HostAddr landscape, int32_t left, int32_t right, int32_t top, int32_t bottom) const {
    const uint32_t arguments[] = {word(left), word(right), word(top), word(bottom)};
    callMember(space_.readU32(base_ + image::kLandscapeInitBordersEntry), landscape, arguments);
}

uint32_t GameCalls::chatSend(HostAddr chatObject, HostAddr text) const {
    return host32CallChatSend(sim::callTarget(space_, base_, image::kChatSendCallSite), chatObject, text);
}

SiteCall GameCalls::timerUpdate(HostAddr timer) const {
    SiteCall call{siteRegisters(0), {}};
    call.before.ecx = timer;
    host32CallWithRegisters(sim::callTarget(space_, base_, image::kTurnTimerColourACallSite), &call.before, &call.after,
                            nullptr, 0);
    return call;
}

SiteCall GameCalls::timerTeam(HostAddr timer, uint32_t team) const {
    SiteCall call{siteRegisters(1), {}};
    call.before.ecx = call.before.eax = timer;
    call.before.edi = call.before.edx = team;
    host32CallWithRegisters(sim::callTarget(space_, base_, image::kTurnTimerColourBCallSite), &call.before, &call.after,
                            nullptr, 0);
    return call;
}

SiteCall GameCalls::timerRender(const sim::TurnTimerObjects& timer, uint32_t selector, HostAddr out) const {
    SiteCall call{siteRegisters(2), {}};
    call.before.eax = timer.renderer;
    call.before.esi = timer.text;
    call.before.edx = selector;
    call.before.ecx = out;
    const uint32_t arguments[] = {timer.renderer, timer.text, selector, 0, 0, out};
    host32CallWithRegisters(sim::callTarget(space_, base_, image::kTurnTimerDrawCallSite), &call.before, &call.after,
                            arguments, 6);
    return call;
}

void GameCalls::displayFrameEnd(HostAddr display) const {
    GameRegisters in, out;
    in.ecx = display;
    host32CallWithRegisters(space_.readU32(space_.readU32(display) + display_table::kOverlay), &in, &out, nullptr, 0);
}

void GameCalls::callWormHandler(HostAddr handler, HostAddr worm, HostAddr sender, uint32_t messageType, uint32_t size,
                                HostAddr data) {
    const uint32_t arguments[] = {sender, messageType, size, data};
    callMember(handler, worm, arguments);
}

void GameCalls::drawWorm(HostAddr wormImage) {
    GameRegisters in, out;
    in.eax = wormImage;
    host32CallWithRegisters(base_ + image::kDrawWorm, &in, &out, nullptr, 0);
}

void GameCalls::drawRope(HostAddr worm, uint32_t colourEntry9, uint32_t colourEntry7) {
    const uint32_t arguments[] = {worm, colourEntry9, colourEntry7};
    GameRegisters in, out;
    host32CallWithRegisters(base_ + image::kDrawRope, &in, &out, arguments, 3);
}

void GameCalls::printChatLine(HostAddr routine, HostAddr chatObject, uint32_t printWord, const char* text) {
    const uint32_t arguments[] = {chatObject, printWord, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text)), 0};
    GameRegisters in, out;
    host32CallWithRegisters(routine, &in, &out, arguments, 4);
}

int32_t GameCalls::callDisplayText(HostAddr routine, HostAddr display, const TextDraw& draw) {
    const uint32_t arguments[] = {draw.style, draw.bitmap, word(draw.x), word(draw.y),
                                  draw.text,  draw.outWidth, draw.outHeight};
    return static_cast<int32_t>(callMember(routine, display, arguments));
}

uint32_t GameCalls::callDisplayWideLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2,
                                        int32_t y2, uint32_t colour, uint32_t width) {
    const uint32_t arguments[] = {word(x1), word(y1), word(x2), word(y2), colour, width};
    return callMember(routine, display, arguments);
}

uint32_t GameCalls::callDisplayThinLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2,
                                        int32_t y2, uint32_t colour) {
    const uint32_t arguments[] = {word(x1), word(y1), word(x2), word(y2), colour};
    return callMember(routine, display, arguments);
}

uint32_t GameCalls::callDisplaySprite(HostAddr routine, HostAddr display, int32_t x, int32_t y, uint32_t flags,
                                      uint32_t sprite) {
    const uint32_t arguments[] = {word(x), word(y), flags, sprite};
    return callMember(routine, display, arguments);
}

void GameCalls::callDisplayBitmap(HostAddr routine, HostAddr display, const BitmapDraw& draw) {
    const uint32_t arguments[] = {word(draw.x),       word(draw.y),     draw.bitmap,       word(draw.sourceX),
                                  word(draw.sourceY), word(draw.width), word(draw.height), draw.flags};
    callMember(routine, display, arguments);
}

}  // namespace tarvek::host32
