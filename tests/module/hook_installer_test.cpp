#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "host/host_layout.h"
#include "host/host_routines.h"
#include "module/hook_installer.h"
#include "race/frame_driver.h"
#include "sim/sim_host.h"
#include "sim/sim_image.h"

namespace tarvek {
namespace {

namespace image = host_layout::image;
constexpr HostAddr kBase = sim::kHostBase;

HostAddr routineOf(int id) { return 0x70001000 + 0x10 * id; }

// One letter per hook in hook-number order: P patched, A already installed, S skipped, - not attempted.
std::string letters(const HookReport& report) {
    std::string text;
    for (const auto& outcome : report)
        text += !outcome ? '-' : *outcome == PatchOutcome::Patched ? 'P' : *outcome == PatchOutcome::AlreadyInstalled ? 'A' : 'S';
    return text;
}

TEST(HookInstaller, FollowsTheDependencyOrder) {
    const struct {
        const char* what;
        std::function<void(sim::SimMemory&, std::array<HostAddr, kHookCount>&)> change;
        const char* expected;
    } rows[] = {
        {"everything in place", [](auto&, auto&) {}, "PPPPPPPPPPP"},
        {"timer A site changed", [](auto& m, auto&) { m.pokeU8(kBase + image::kTimerColourACall, 0xE9); }, "PPS--PPPPPP"},
        {"code before B changed", [](auto& m, auto&) { m.pokeU8(kBase + image::kTimerColourBCall - 2, 0x90); },
         "PPPSPPPPPPP"},
        {"timer A already ours",
         [](auto& m, auto&) { sim::writeCall(m, kBase, image::kTimerColourACall, routineOf(2) - kBase); }, "PPAPPPPPPPP"},
        {"worm handler already ours",
         [](auto& m, auto&) { m.pokeU32(kBase + image::kWormHandleMessageEntry, routineOf(5)); }, "PPPPPA-----"},
        {"sprite entry null", [](auto& m, auto&) { m.pokeU32(kBase + image::kDisplaySpriteDrawEntry, 0); },
         "PPPPPPPPS--"},
        {"no chat routine", [](auto&, auto& r) { r[TARVEK_HOOK_CHAT] = 0; }, "P-PPPPPPPPP"},
        {"no line routine", [](auto&, auto& r) { r[TARVEK_HOOK_DISPLAY_LINE5] = 0; }, "PPPPPP--P--"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        resetFrameDriver();
        hostRoutines().drawWorm = 0;
        sim::SimMemory memory;
        memory.map(kBase, sim::kHostImageSize, protection::ExecuteRead);
        sim::layOutHostImage(memory, kBase);
        std::array<HostAddr, kHookCount> routines;
        for (int id = 0; id < kHookCount; ++id) routines[id] = routineOf(id);
        row.change(memory, routines);

        EXPECT_EQ(letters(installHooks(memory, kBase, withPreviousTargetSlots(routines))), row.expected);
        EXPECT_EQ(hostRoutines().chatPrint, kBase + image::kChatPrint);
        // The drawing routines are remembered only when the worm handler was patched now.
        EXPECT_EQ(hostRoutines().drawWorm, row.expected[5] == 'P' ? kBase + image::kDrawWorm : 0);
    }
    resetFrameDriver();
}

}  // namespace
}  // namespace tarvek
