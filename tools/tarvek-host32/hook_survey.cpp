#include "tools/tarvek-host32/hook_survey.h"

#include "host/host_layout.h"

namespace tarvek::host32 {

std::vector<HookPoint> gameHookPoints() {
    namespace image = host_layout::image;
    return {
        {image::kWormHandleMessageEntry, false},
    };
}

std::optional<HostAddr> hookTarget(const HostMemory& memory, HostAddr gameBase, const HookPoint& point) {
    const HostAddr at = gameBase + point.offset;
    if (!point.callSite) return memory.readU32(at);
    uint8_t call[5];
    if (!memory.read(at, call, sizeof call) || call[0] != 0xE8) return std::nullopt;
    const int32_t displacement = static_cast<int32_t>(call[1] | call[2] << 8 | call[3] << 16 | uint32_t{call[4]} << 24);
    return at + 5 + static_cast<uint32_t>(displacement);
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
