// Display calls: the game's own routine when the address is one of the game's, otherwise the
// module routine registered there.
#include "host/host_layout.h"
#include "sim/host_image_layout.h"
#include "sim/sim_display_routines.h"
#include "sim/sim_host.h"

namespace tarvek::sim {
namespace {

namespace table = host_layout::display_table;

template <typename Signature, typename... Args>
auto callRegistered(const RoutineTable<Signature>& routines, HostAddr routine, Args&&... args) {
    const auto* found = routines.find(routine);
    if (!found) callIntoNowhere(routine);
    return (*found)(std::forward<Args>(args)...);
}

}  // namespace

int32_t SimHost::callDisplayText(HostAddr routine, HostAddr display, const TextDraw& draw) {
    if (routine != hostDisplayRoutine(base_, table::kTextDraw)) callIntoNowhere(routine);
    return hostDisplayText(space_, display, draw);
}

uint32_t SimHost::callDisplayWideLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2,
                                      int32_t y2, uint32_t colour, uint32_t width) {
    if (routine != hostDisplayRoutine(base_, table::kLineDraw6))
        return callRegistered(routines_.wideLine, routine, display, x1, y1, x2, y2, colour, width);
    if (!displayIdle_) hostDisplayLine(space_, display, x1, y1, x2, y2, colour, width);
    return 1;
}

uint32_t SimHost::callDisplayThinLine(HostAddr routine, HostAddr display, int32_t x1, int32_t y1, int32_t x2,
                                      int32_t y2, uint32_t colour) {
    if (routine != hostDisplayRoutine(base_, table::kLineDraw5))
        return callRegistered(routines_.thinLine, routine, display, x1, y1, x2, y2, colour);
    if (!displayIdle_) hostDisplayLine(space_, display, x1, y1, x2, y2, colour, 1);
    return 1;
}

uint32_t SimHost::callDisplaySprite(HostAddr routine, HostAddr display, int32_t x, int32_t y, uint32_t flags,
                                    uint32_t sprite) {
    if (routine != hostDisplayRoutine(base_, table::kSpriteDraw))
        return callRegistered(routines_.sprite, routine, display, x, y, flags, sprite);
    if (!displayIdle_) hostDisplaySprite(space_, display, x, y, flags, sprite);
    return 1;
}

void SimHost::callDisplayBitmap(HostAddr routine, HostAddr display, const BitmapDraw& draw) {
    if (routine != hostDisplayRoutine(base_, table::kBitmapDraw)) callIntoNowhere(routine);
    if (!displayIdle_) hostDisplayBitmap(space_, display, draw);
}

void SimHost::callDisplayFrameEnd(HostAddr routine, HostAddr display) {
    if (routine != hostDisplayRoutine(base_, table::kOverlay)) return callRegistered(routines_.frameEnd, routine, display);
    ++framesEnded_;
}

}  // namespace tarvek::sim
