#include "tools/tarvek-host32/hook_survey.h"

#include "host/host_layout.h"

namespace tarvek::host32 {

std::vector<HookPoint> gameHookPoints() {
    namespace image = host_layout::image;
    namespace display = host_layout::display_table;
    return {
        {image::kLoadLandDatCallSite, true},
        {image::kChatSendCallSite, true},
        {image::kTurnTimerColourACallSite, true},
        {image::kTurnTimerColourBCallSite, true},
        {image::kTurnTimerDrawCallSite, true},
        {image::kWormHandleMessageEntry, false},
        {image::kDisplayClassTable + display::kLineDraw6, false},
        {image::kDisplayClassTable + display::kLineDraw5, false},
        {image::kDisplayClassTable + display::kSpriteDraw, false},
        {image::kDisplayClassTable + display::kOverlay, false},
        {image::kLandscapeInitBordersEntry, false},
    };
}

std::optional<HostAddr> hookTarget(const HostMemory& memory, HostAddr gameBase, const HookPoint& point) {
    const HostAddr at = gameBase + point.offset;
    if (!point.callSite) return memory.readU32(at);
    namespace image = host_layout::image;
    uint8_t call[image::kCallSiteSize];
    if (!memory.read(at, call, sizeof call) || call[0] != image::kCallOpcode) return std::nullopt;
    const uint32_t displacement = call[1] | call[2] << 8 | call[3] << 16 | uint32_t{call[4]} << 24;
    return at + image::kCallSiteSize + displacement;
}

HookSurvey::HookSurvey(const HostMemory& memory, HostAddr gameBase, std::vector<HookPoint> points)
    : memory_(memory), gameBase_(gameBase), points_(std::move(points)) {
    for (const auto& point : points_) before_.push_back(hookTarget(memory_, gameBase_, point));
}

std::vector<std::string> HookSurvey::report(const AddressNames& names) const {
    std::vector<std::string> lines;
    for (size_t i = 0; i < points_.size(); ++i) {
        const auto now = hookTarget(memory_, gameBase_, points_[i]);
        std::string line = offsetText(points_[i].offset);
        if (now == before_[i]) {
            line += " skipped";
        } else {
            line += " patched ";
            line += before_[i] ? names(*before_[i]) : "none";
            line += " -> ";
            line += now ? names(*now) : "none";
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace tarvek::host32
