#include "tools/scenarios/hook_survey.h"

#include "host/hook_table.h"
#include "host/patch_engine.h"

namespace tarvek::scenarios {

std::vector<HookPoint> gameHookPoints() {
    std::vector<HookPoint> points;
    for (const CallSiteHook* hook : {&hooks::kMapSourceCapture, &hooks::kChat, &hooks::kTimerColourA,
                                     &hooks::kTimerColourB, &hooks::kTimerDrawing})
        points.push_back({hook->site, true});
    for (const TableEntryHook* hook : {&hooks::kWormMessage, &hooks::kDisplayLines, &hooks::kDisplaySprite,
                                       &hooks::kDisplayOverlay, &hooks::kLandscapeInitBorders})
        for (uint32_t i = 0; i < hook->count; ++i) points.push_back({hook->entry + 4 * i, false});
    return points;
}

std::optional<HostAddr> hookTarget(const HostMemory& memory, HostAddr gameBase, const HookPoint& point) {
    const HostAddr at = gameBase + point.offset;
    return point.callSite ? readCallTarget(memory, at) : memory.readU32(at);
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

}  // namespace tarvek::scenarios
