#include "module/hook_installer.h"

#include "host/host_layout.h"
#include "host/host_routines.h"
#include "presentation/gap_message.h"
#include "race/frame_driver.h"

namespace tarvek {
namespace {

namespace image = host_layout::image;

class Installer {
public:
    Installer(HostMemory& memory, HostAddr base, const HookAddresses& hooks)
        : memory_(memory), base_(base), hooks_(hooks) {}

    std::optional<PatchOutcome> site(const CallSiteHook& hook, bool logChaining = true) {
        const HostAddr routine = hooks_.routine[hook.id];
        if (routine == 0) return std::nullopt;
        return report_[hook.id] = patchCallSite(memory_, base_, hook, routine, *hooks_.previous[hook.id], logChaining);
    }

    std::optional<PatchOutcome> table(const TableEntryHook& hook) {
        const auto routines = std::span(hooks_.routine).subspan(hook.id, hook.count);
        const auto previous = std::span(hooks_.previous).subspan(hook.id, hook.count);
        for (uint32_t i = 0; i < hook.count; ++i)
            if (routines[i] == 0) return std::nullopt;
        const PatchOutcome outcome = patchTableEntry(memory_, base_, hook, routines, previous);
        for (uint32_t i = 0; i < hook.count; ++i) report_[hook.id + i] = outcome;
        return outcome;
    }

    const HookReport& report() const { return report_; }

private:
    HostMemory& memory_;
    HostAddr base_;
    const HookAddresses& hooks_;
    HookReport report_;
};

bool inPlace(std::optional<PatchOutcome> outcome) {
    return outcome == PatchOutcome::Patched || outcome == PatchOutcome::AlreadyInstalled;
}

}  // namespace

HookAddresses withPreviousTargetSlots(std::array<HostAddr, kHookCount> routines) {
    HookAddresses hooks{routines, {}};
    for (int id = 0; id < kHookCount; ++id) hooks.previous[id] = &tarvekPreviousTargets[id];
    hooks.previous[TARVEK_HOOK_WORM_MESSAGE] = &frameDriver().previousHandler;
    return hooks;
}

PatchOutcome installMapSourceCapture(HostMemory& memory, HostAddr base, const HookAddresses& hooks,
                                     bool logChaining) {
    Installer installer(memory, base, hooks);
    return installer.site(hooks::kMapSourceCapture, logChaining).value_or(PatchOutcome::Skipped);
}

HookReport installHooks(HostMemory& memory, HostAddr base, const HookAddresses& hooks) {
    hostRoutines().chatPrint = base + image::kChatPrint;
    Installer installer(memory, base, hooks);
    installer.site(hooks::kMapSourceCapture);
    installer.site(hooks::kChat);
    if (inPlace(installer.site(hooks::kTimerColourA))) {
        installer.site(hooks::kTimerColourB);
        installer.site(hooks::kTimerDrawing);
    }
    if (installer.table(hooks::kWormMessage) == PatchOutcome::Patched) {
        hostRoutines().drawWorm = base + image::kDrawWorm;
        hostRoutines().drawRope = base + image::kDrawRope;
        const auto lines = installer.table(hooks::kDisplayLines);
        const auto sprite = installer.table(hooks::kDisplaySprite);
        if (lines == PatchOutcome::Patched && sprite == PatchOutcome::Patched) {
            // The gap message is drawn by the overlay; without it there is nobody to show one.
            gapMessageBoard().setOverlayInstalled(inPlace(installer.table(hooks::kDisplayOverlay)));
            installer.table(hooks::kLandscapeInitBorders);
        }
    }
    return installer.report();
}

}  // namespace tarvek
