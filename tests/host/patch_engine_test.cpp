#include <gtest/gtest.h>

#include <cstring>

#include "host/host_layout.h"
#include "host/log.h"
#include "host/patch_engine.h"
#include "sim/sim_host.h"
#include "sim/sim_image.h"

namespace tarvek {
namespace {

constexpr HostAddr kBase = sim::kHostBase;
constexpr HostAddr kRoutine = 0x70001000;  // the module's routine
constexpr HostAddr kOtherModule = 0x71000000;

// The simulated image, with protection changes that can be made to fail.
struct PatchableMemory : sim::SimMemory {
    bool refuseProtection = false;
    bool protect(HostAddr addr, size_t n, uint32_t newProtect, uint32_t& oldProtect) override {
        return !refuseProtection && SimMemory::protect(addr, n, newProtect, oldProtect);
    }
};

class PatchEngine : public ::testing::Test {
protected:
    explicit PatchEngine(HostAddr base = kBase) : base(base) {
        memory.map(base, sim::kHostImageSize, protection::ExecuteRead);
        sim::layOutHostImage(memory, base);
        memory.map(kOtherModule, sim::kPageSize, protection::ExecuteRead);
    }
    HostAddr callTarget(const CallSiteHook& hook) { return sim::callTarget(memory, base, hook.site); }
    PatchOutcome patchSite(const CallSiteHook& hook, bool logChaining = true) {
        return patchCallSite(memory, base, hook, kRoutine, previous, logChaining);
    }
    PatchOutcome patchTable(const TableEntryHook& hook, HostAddr first = kRoutine, HostAddr second = kRoutine + 0x10) {
        const HostAddr routines[] = {first, second};
        HostAddr* slots[] = {&previous, &previousSecond};
        return patchTableEntry(memory, base, hook, routines, slots);
    }

    HostAddr base;
    PatchableMemory memory;
    HostAddr previous = 0;
    HostAddr previousSecond = 0;
    CapturedLog log;
};

const CallSiteHook* const kSites[] = {&hooks::kMapSourceCapture, &hooks::kChat, &hooks::kTimerColourA,
                                      &hooks::kTimerColourB, &hooks::kTimerDrawing};

TEST_F(PatchEngine, EachCallSiteIsRedirectedOnceAndChainsToTheHostRoutine) {
    for (const CallSiteHook* hook : kSites) {
        SCOPED_TRACE(hook->site);
        previous = 0;
        EXPECT_EQ(patchSite(*hook), PatchOutcome::Patched);
        EXPECT_EQ(callTarget(*hook), kRoutine);
        EXPECT_EQ(previous, base + hook->expectedTarget);
        EXPECT_EQ(memory.flushCount(base + hook->site + 1), 1);
        MemoryRegion region;
        memory.query(base + hook->site, region);
        EXPECT_EQ(region.protect, protection::ExecuteRead);
        // The second attempt (the init thread after the entry point) sees its own routine.
        EXPECT_EQ(patchSite(*hook), PatchOutcome::AlreadyInstalled);
        EXPECT_EQ(previous, base + hook->expectedTarget);
    }
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(PatchEngine, ForeignCallTargetIsChainedOnlyWhereAllowed) {
    const struct {
        const CallSiteHook* hook;
        PatchOutcome outcome;
        bool logged;
    } rows[] = {{&hooks::kMapSourceCapture, PatchOutcome::Patched, true},
                {&hooks::kChat, PatchOutcome::Patched, false},
                {&hooks::kTimerColourA, PatchOutcome::Patched, false},
                {&hooks::kTimerColourB, PatchOutcome::Skipped, false},
                {&hooks::kTimerDrawing, PatchOutcome::Skipped, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.hook->site);
        log.clear();
        previous = 0;
        sim::writeCall(memory, base, row.hook->site, kOtherModule - base);
        EXPECT_EQ(patchSite(*row.hook), row.outcome);
        EXPECT_EQ(previous, row.outcome == PatchOutcome::Patched ? kOtherModule : 0);
        EXPECT_EQ(log.lines().size(), row.logged ? 1u : 0u);
    }
    log.clear();
    sim::writeCall(memory, base, hooks::kMapSourceCapture.site, kOtherModule - base);
    patchSite(hooks::kMapSourceCapture);
    EXPECT_EQ(log.lines(), std::vector<std::string>{
                               "Landscape LoadLandDat is already hooked; chaining after 0x71000000 (WA handler 0x575bc0)"});
}

TEST_F(PatchEngine, CallSitesThatDoNotMatchAreLeftAlone) {
    const struct {
        const char* what;
        const CallSiteHook* hook;
        HostAddr at;       // host offset of the byte changed
        uint8_t value;
    } rows[] = {
        {"no call opcode", &hooks::kChat, hooks::kChat.site, 0xE9},
        {"code before B", &hooks::kTimerColourB, hooks::kTimerColourB.site - 1, 0x90},
        {"code after B", &hooks::kTimerColourB, hooks::kTimerColourB.site + 8, 0x90},
        {"code before drawing", &hooks::kTimerDrawing, hooks::kTimerDrawing.site - 16, 0x90},
        {"code after drawing", &hooks::kTimerDrawing, hooks::kTimerDrawing.site + 20, 0x90},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        sim::layOutHostImage(memory, base);
        memory.pokeU8(base + row.at, row.value);
        uint8_t before[5], after[5];
        memory.peek(base + row.hook->site, before, 5);
        EXPECT_EQ(patchSite(*row.hook), PatchOutcome::Skipped);
        memory.peek(base + row.hook->site, after, 5);
        EXPECT_EQ(std::memcmp(before, after, 5), 0);
    }
    // Call targets that are no code, a foreign target that cannot be read, a locked page.
    for (const HostAddr target : {HostAddr{0}, HostAddr{0xFFFFFFFFu}, HostAddr{0x7F000000}}) {
        sim::writeCall(memory, base, hooks::kChat.site, target - base);
        EXPECT_EQ(patchSite(hooks::kChat), PatchOutcome::Skipped) << target;
    }
    sim::layOutHostImage(memory, base);
    memory.refuseProtection = true;
    previous = 0;
    EXPECT_EQ(patchSite(hooks::kChat), PatchOutcome::Skipped);
    EXPECT_EQ(callTarget(hooks::kChat), base + hooks::kChat.expectedTarget);
    EXPECT_EQ(previous, 0u);
}

TEST_F(PatchEngine, TableEntriesChainAfterWhatTheyReplace) {
    EXPECT_EQ(patchTable(hooks::kWormMessage), PatchOutcome::Patched);
    EXPECT_EQ(memory.peekU32(base + host_layout::image::kWormHandleMessageEntry), kRoutine);
    EXPECT_EQ(previous, base + host_layout::image::kWormHandleMessage);
    EXPECT_EQ(patchTable(hooks::kWormMessage), PatchOutcome::AlreadyInstalled);

    // Display entries 1 and 2 go in together, each with its own previous target.
    EXPECT_EQ(patchTable(hooks::kDisplayLines), PatchOutcome::Patched);
    EXPECT_EQ(memory.peekU32(base + host_layout::image::kDisplayLineDraw5Entry), kRoutine + 0x10);
    EXPECT_EQ(previousSecond, base + sim::kDisplayRoutines + 0x10 * 14);

    memory.pokeU32(base + host_layout::image::kLandscapeInitBordersEntry, kOtherModule);
    EXPECT_EQ(patchTable(hooks::kLandscapeInitBorders), PatchOutcome::Patched);
    EXPECT_EQ(previous, kOtherModule);
    EXPECT_EQ(log.lines(), std::vector<std::string>{
                               "Landscape InitBorders is already hooked; chaining after 0x71000000 (WA handler 0x57d7f0)"});
}

TEST_F(PatchEngine, TableEntriesThatDoNotMatchAreLeftAlone) {
    using EntryChange = std::pair<uint32_t, uint32_t>;  // entry offset, value written there first
    const struct {
        const char* what;
        const TableEntryHook* hook;
        EntryChange change;
    } rows[] = {
        {"null entry", &hooks::kWormMessage, {host_layout::image::kWormHandleMessageEntry, 0}},
        {"overlay into unreadable code", &hooks::kDisplayOverlay, {host_layout::image::kDisplayOverlayEntry, 0x7F000000}},
        {"half of the pair already ours", &hooks::kDisplayLines, {host_layout::image::kDisplayLineDraw6Entry, kRoutine}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        sim::layOutHostImage(memory, base);
        memory.pokeU32(base + row.change.first, row.change.second);
        EXPECT_EQ(patchTable(*row.hook), PatchOutcome::Skipped);
        EXPECT_EQ(memory.peekU32(base + row.change.first), row.change.second);
    }
    sim::layOutHostImage(memory, base);
    memory.refuseProtection = true;
    EXPECT_EQ(patchTable(hooks::kDisplayOverlay), PatchOutcome::Skipped);
    EXPECT_EQ(memory.peekU32(base + host_layout::image::kDisplayOverlayEntry), base + sim::kDisplayRoutines + 0x10 * 26);
}

// The display class table placed so that everything past entry 3 lies on a page that cannot be read.
class PatchEngineShortTable : public PatchEngine {
protected:
    PatchEngineShortTable() : PatchEngine(0x00400000 - 0x268) {
        memory.setProtection(base + host_layout::image::kDisplayClassTable + 0x50, sim::kPageSize, protection::NoAccess);
    }
};

TEST_F(PatchEngineShortTable, WholeTableRangeMustBeReadable) {
    EXPECT_EQ(patchTable(hooks::kDisplaySprite), PatchOutcome::Skipped);
    EXPECT_EQ(patchTable(hooks::kDisplayLines), PatchOutcome::Skipped);
}

}  // namespace
}  // namespace tarvek
