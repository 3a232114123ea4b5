#include "presentation/display_access.h"

#include <algorithm>
#include <cstring>

#include "host/host_context.h"
#include "host/host_layout.h"

namespace tarvek {
namespace {

namespace layout = host_layout;

uint32_t wordAt(const uint8_t* bytes, uint32_t offset) {
    uint32_t value;
    std::memcpy(&value, bytes + offset, 4);
    return value;
}

}  // namespace

HostAddr displayRoutine(HostAddr display, uint32_t tableOffset) {
    const HostMemory& memory = hostMemory();
    const auto table = memory.readU32(display + layout::display::kClassTable);
    if (!table) return 0;
    return memory.readU32(*table + tableOffset).value_or(0);
}

std::optional<ScreenPoint> displayScroll(HostAddr display) {
    int32_t scroll[2];
    if (!hostMemory().read(display + layout::display::kScroll, scroll, sizeof scroll)) return std::nullopt;
    return ScreenPoint{scroll[0], scroll[1]};
}

std::optional<DisplaySurface> displaySurface(HostAddr display) {
    namespace bitmap = layout::bitmap;
    const HostMemory& memory = hostMemory();
    const auto surface = memory.readU32(display + layout::display::kSurface);
    uint8_t bytes[bitmap::kClippedObjectSize];
    if (!surface || !memory.read(*surface, bytes, sizeof bytes)) return std::nullopt;
    DisplaySurface out;
    out.pixels = wordAt(bytes, bitmap::kPixels);
    out.stride = wordAt(bytes, bitmap::kStride);
    out.width = wordAt(bytes, bitmap::kWidth);
    out.height = wordAt(bytes, bitmap::kHeight);
    if (out.width == 0 || out.height == 0 || out.width > layout::display::kMaxSurfaceSide || out.height > layout::display::kMaxSurfaceSide ||
        out.stride < out.width)
        return std::nullopt;
    const auto width = static_cast<int32_t>(out.width);
    const auto height = static_cast<int32_t>(out.height);
    out.clipLeft = std::clamp(static_cast<int32_t>(wordAt(bytes, bitmap::kClipRect)), 0, width);
    out.clipTop = std::clamp(static_cast<int32_t>(wordAt(bytes, bitmap::kClipRect + 4)), 0, height);
    out.clipRight = std::clamp(static_cast<int32_t>(wordAt(bytes, bitmap::kClipRect + 8)), 0, width);
    out.clipBottom = std::clamp(static_cast<int32_t>(wordAt(bytes, bitmap::kClipRect + 12)), 0, height);
    if (out.clipLeft >= out.clipRight || out.clipTop >= out.clipBottom) return std::nullopt;
    return out;
}

}  // namespace tarvek
