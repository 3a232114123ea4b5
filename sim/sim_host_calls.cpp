// Display calls: the game's own routine when the address is one of the game's, otherwise the
// module routine registered there. The timer renderer is code reached like any call site's.
#include <stdexcept>

#include "host/host_layout.h"
#include "sim/sim_display_routines.h"
#include "sim/sim_host.h"

namespace tarvek::sim {
namespace {

namespace display = host_layout::display;

template <typename Signature, typename... Args>
auto callRegistered(const RoutineTable<Signature>& table, HostAddr routine, Args&&... args) {
    const auto* found = table.find(routine);
    // The game would jump into whatever lies there; a test wants to hear about it.
    if (!found) throw std::logic_error("simulated host: call to an address that holds no routine");
    return (*found)(std::forward<Args>(args)...);
}

}  // namespace

int32_t SimHost::callDisplayText(HostAddr routine, HostAddr displayObject, const TextDraw& draw) {
    if (routine == hostDisplayRoutine(display::kSlotText)) return hostDisplayText(memory_, displayObject, draw);
    return callRegistered(routines_.text, routine, displayObject, draw);
}

void SimHost::callDisplayWideLine(HostAddr routine, HostAddr displayObject, int32_t x1, int32_t y1, int32_t x2,
                                  int32_t y2, uint32_t colour, uint32_t width) {
    if (routine != hostDisplayRoutine(display::kSlotWideLine))
        return callRegistered(routines_.wideLine, routine, displayObject, x1, y1, x2, y2, colour, width);
    if (!displayIdle_) hostDisplayLine(memory_, displayObject, x1, y1, x2, y2, colour, width);
}

void SimHost::callDisplayThinLine(HostAddr routine, HostAddr displayObject, int32_t x1, int32_t y1, int32_t x2,
                                  int32_t y2, uint32_t colour) {
    if (routine != hostDisplayRoutine(display::kSlotThinLine))
        return callRegistered(routines_.thinLine, routine, displayObject, x1, y1, x2, y2, colour);
    if (!displayIdle_) hostDisplayLine(memory_, displayObject, x1, y1, x2, y2, colour, 1);
}

void SimHost::callDisplaySprite(HostAddr routine, HostAddr displayObject, int32_t x, int32_t y, uint32_t flags,
                                uint32_t sprite) {
    if (routine != hostDisplayRoutine(display::kSlotSprite))
        return callRegistered(routines_.sprite, routine, displayObject, x, y, flags, sprite);
    if (!displayIdle_) hostDisplaySprite(memory_, displayObject, x, y, flags, sprite);
}

void SimHost::callDisplayBitmap(HostAddr routine, HostAddr displayObject, const BitmapDraw& draw) {
    if (routine != hostDisplayRoutine(display::kSlotBitmap))
        return callRegistered(routines_.bitmap, routine, displayObject, draw);
    if (!displayIdle_) hostDisplayBitmap(memory_, displayObject, draw);
}

void SimHost::callDisplayFrameEnd(HostAddr routine, HostAddr displayObject) {
    if (routine != hostDisplayRoutine(display::kSlotFrameEnd))
        return callRegistered(routines_.frameEnd, routine, displayObject);
    ++framesEnded_;
}

// Six stack arguments; the game's code also leaves the last one in ECX.
HostAddr SimHost::callTimerRender(HostAddr routine, const TimerRender& render) {
    SimCall call;
    call.ecx = render.out;
    call.stackArguments = {render.renderer, render.colour, render.text, render.reserved1, render.reserved2, render.out};
    return callCode(routine, call);
}

}  // namespace tarvek::sim
