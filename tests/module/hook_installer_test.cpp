#include <gtest/gtest.h>

#include <functional>

#include "host/host_layout.h"
#include "host/host_routines.h"
#include "host/log.h"
#include "module/hook_installer.h"
#include "presentation/gap_message.h"
#include "race/frame_driver.h"
#include "sim/sim_host.h"
#include "sim/host_image_layout.h"
#include "sim/sim_address_space.h"

namespace tarvek {
namespace {

namespace image = host_layout::image;
namespace slot = host_layout::display_table;
constexpr uint32_t kDisplayEntry = image::kDisplayClassTable;
using Routines = std::array<HostAddr, kHookCount>;
// An image base that puts display class table slot 20 (+0x50) at a page start, so the table can be
// made unreadable past entry 3.
constexpr HostAddr kBase = 0x00400000 - 0x268;
constexpr HostAddr kOtherModule = 0x71000000;

HostAddr routineOf(int id) { return 0x70001000 + 0x10 * id; }

const CallSiteHook* const kSites[] = {&hooks::kMapSourceCapture, &hooks::kChat, &hooks::kTimerColourA,
                                      &hooks::kTimerColourB, &hooks::kTimerDrawing};
const TableEntryHook* const kTables[] = {&hooks::kWormMessage, &hooks::kDisplayLines, &hooks::kDisplaySprite,
                                         &hooks::kDisplayOverlay, &hooks::kLandscapeInitBorders};

// What the host calls at the hook's place: the call site's target or the table entry.
HostAddr targetAt(const sim::AddressSpace& space, int id) {
    for (const CallSiteHook* hook : kSites)
        if (hook->id == id) return sim::callTarget(space, kBase, hook->site);
    for (const TableEntryHook* hook : kTables)
        if (id >= hook->id && id < hook->id + static_cast<int>(hook->count))
            return space.readU32(kBase + hook->entry + 4 * (id - hook->id));
    return 0;
}

// One letter per hook in hook-number order (map source, chat, timer A, B, drawing, worm, display
// 13, 14, 19, 26, InitBorders): P patched, A already installed, S skipped, - not attempted. A
// patched hook leads to the module's routine and chains to what was there; any other is untouched.
TEST(HookInstaller, InstallsInDependencyOrderChainsAndLeavesWhatDoesNotMatch) {
    using Change = std::function<void(sim::SimAddressSpace&, Routines&)>;
    auto poke = [](uint32_t offset, uint8_t value) -> Change { return [=](auto& s, auto&) { s.writeU8(kBase + offset, value); }; };
    auto entry = [](uint32_t offset, HostAddr value) -> Change { return [=](auto& s, auto&) { s.writeU32(kBase + offset, value); }; };
    auto callTo = [](uint32_t site, HostAddr target) -> Change {
        return [=](auto& s, auto&) { sim::writeCall(s, kBase, site, target - kBase); };
    };
    const struct {
        const char* what;
        Change change;
        const char* expected;
        std::vector<std::string> lines;
    } rows[] = {
        {"everything in place", [](auto&, auto&) {}, "PPPPPPPPPPP", {}},
        {"installed before", [](auto& s, auto& r) { installHooks(s.memory(), kBase, withPreviousTargetSlots(r)); }, "AAAAAA-----", {}},
        {"capture after another module", callTo(image::kLoadLandDatCallSite, kOtherModule), "PPPPPPPPPPP",
         {"Landscape LoadLandDat is already hooked; chaining after 0x71000000 (WA handler 0x575958)"}},
        {"chat after another module", callTo(image::kChatSendCallSite, kOtherModule), "PPPPPPPPPPP", {}},
        {"timer B after another module", callTo(image::kTurnTimerColourBCallSite, kOtherModule), "PPPSPPPPPPP", {}},
        {"worm handler of another module", entry(image::kWormHandleMessageEntry, kOtherModule), "PPPPPPPPPPP",
         {"worm HandleMessage is already hooked; chaining after 0x71000000 (WA handler 0x5108d8)"}},
        {"InitBorders of another module", entry(image::kLandscapeInitBordersEntry, kOtherModule), "PPPPPPPPPPP",
         {"Landscape InitBorders is already hooked; chaining after 0x71000000 (WA handler 0x57d588)"}},
        {"timer A site no call", poke(image::kTurnTimerColourACallSite, 0xE9), "PPS--PPPPPP", {}},
        {"timer A already ours", callTo(image::kTurnTimerColourACallSite, routineOf(2)), "PPAPPPPPPPP", {}},
        {"code before B", poke(image::kTurnTimerColourBCheckBefore + 3, 0x90), "PPPSPPPPPPP", {}},
        {"code after B", poke(image::kTurnTimerColourBCallSite + 8, 0x90), "PPPSPPPPPPP", {}},
        {"code before drawing", poke(image::kTurnTimerDrawCheckBefore, 0x90), "PPPPSPPPPPP", {}},
        {"code after drawing", poke(image::kTurnTimerDrawCheckAfter + 15, 0x90), "PPPPSPPPPPP", {}},
        {"chat calls 0", callTo(image::kChatSendCallSite, 0), "PSPPPPPPPPP", {}},
        {"chat calls 0xFFFFFFFF", callTo(image::kChatSendCallSite, 0xFFFFFFFFu), "PSPPPPPPPPP", {}},
        {"chat calls unreadable code", callTo(image::kChatSendCallSite, 0x7F000000), "PSPPPPPPPPP", {}},
        {"worm handler already ours", entry(image::kWormHandleMessageEntry, routineOf(5)), "PPPPPA-----", {}},
        {"worm handler null", entry(image::kWormHandleMessageEntry, 0), "PPPPPS-----", {}},
        {"sprite entry null", entry(kDisplayEntry + slot::kSpriteDraw, 0), "PPPPPPPPS--", {}},
        // Patching the pair would make the entry already ours its own previous target.
        {"half of the line pair ours", entry(kDisplayEntry + slot::kLineDraw5, routineOf(7)), "PPPPPPSSP--", {}},
        {"overlay into unreadable code", entry(kDisplayEntry + slot::kOverlay, 0x7F000000), "PPPPPPPPPSP", {}},
        {"display table unreadable past entry 3",
         [](auto& s, auto&) { s.protect(kBase + kDisplayEntry + slot::kBitmapDraw, 1, protection::NoAccess); },
         "PPPPPPSSS--", {}},
        {"no chat routine", [](auto&, auto& r) { r[TARVEK_HOOK_CHAT] = 0; }, "P-PPPPPPPPP", {}},
        {"no line routine", [](auto&, auto& r) { r[TARVEK_HOOK_DISPLAY_LINE5] = 0; }, "PPPPPP--P--", {}},
        {"protection refused", [](auto& s, auto&) { s.memory().refuseProtectionChanges(); }, "SSS--S-----", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        sim::SimMemory memory;
        sim::SimAddressSpace space(memory, sim::kHeapBase, kBase);
        sim::layOutHostImage(space);
        memory.map(kOtherModule, sim::kPageSize, protection::ExecuteRead);
        for (uint32_t hooked : {slot::kLineDraw6, slot::kLineDraw5, slot::kSpriteDraw, slot::kOverlay})
            space.writeU32(kBase + kDisplayEntry + hooked, kBase + 0x1F0000 + hooked);  // the host's display routines
        Routines routines;
        for (int id = 0; id < kHookCount; ++id) routines[id] = routineOf(id);
        row.change(space, routines);
        HostAddr before[kHookCount];
        for (int id = 0; id < kHookCount; ++id) before[id] = targetAt(space, id);
        const HookAddresses hooks = withPreviousTargetSlots(routines);
        for (HostAddr* previous : hooks.previous) *previous = 0;
        hostRoutines().drawWorm = 0;
        gapMessageBoard().setOverlayInstalled(false);
        CapturedLog log;

        const HookReport report = installHooks(memory, kBase, hooks);
        std::string letters;
        for (int id = 0; id < kHookCount; ++id) {
            const auto& outcome = report[id];
            letters += !outcome ? '-' : *outcome == PatchOutcome::Patched ? 'P' : *outcome == PatchOutcome::AlreadyInstalled ? 'A' : 'S';
            const bool patched = letters.back() == 'P';
            EXPECT_EQ(targetAt(space, id), patched ? routines[id] : before[id]) << id;
            EXPECT_EQ(*hooks.previous[id], patched ? before[id] : 0) << id;
        }
        EXPECT_EQ(letters, row.expected);
        EXPECT_EQ(gapMessageBoard().overlayInstalled(), letters[TARVEK_HOOK_DISPLAY_OVERLAY] == 'P');
        EXPECT_EQ(log.lines(), row.lines);
        for (const CallSiteHook* site : kSites) {
            MemoryRegion region;
            memory.query(kBase + site->site, region);
            EXPECT_EQ(region.protect, protection::ExecuteRead);
            EXPECT_TRUE(letters[site->id] != 'P' || memory.flushCount(kBase + site->site + 1) == 1);
        }
        EXPECT_EQ(hostRoutines().chatPrint, kBase + image::kChatPrint);
        // The drawing routines are remembered only when the worm handler was patched now.
        EXPECT_EQ(hostRoutines().drawWorm, row.expected[5] == 'P' ? kBase + image::kDrawWorm : 0);
    }
    resetFrameDriver();
}

}  // namespace
}  // namespace tarvek
