#include <gtest/gtest.h>

#include "sim/sim_memory.h"
#include "tools/scenarios/hook_survey.h"
#include "tools/scenarios/transcript.h"

namespace tarvek::scenarios {
namespace {

constexpr HostAddr kGame = 0x00400000;
constexpr HostAddr kModule = 0x6A000000;
const AddressNames kNames{kGame, 0x4A0000, kModule, 0x20000};

void writeCall(sim::SimMemory& memory, HostAddr site, HostAddr target) {
    const uint32_t displacement = target - (site + 5);
    memory.pokeU8(site, 0xE8);
    memory.pokeU32(site + 1, displacement);
}

TEST(HookSurvey, ReportsEachPointAsLaidOutOrChanged) {
    sim::SimMemory memory;
    memory.map(kGame, 0x4A0000, protection::ExecuteRead);
    memory.map(kModule, 0x20000, protection::ExecuteRead);
    writeCall(memory, kGame + 0x17AD69, kGame + 0x175BC0);  // forward call, patched below
    writeCall(memory, kGame + 0x15E10F, kGame + 0x15EAF0);  // left alone
    writeCall(memory, kGame + 0x12C1AE, kGame + 0x12B730);  // loses its E8 below
    memory.pokeU32(kGame + 0x2644D0, kGame + 0x110B40);     // table entry, patched below
    writeCall(memory, kGame + 0x200000, kGame + 0x100000);  // backward call, patched below

    HookSurvey survey(memory, kGame,
                      {{0x17AD69, true}, {0x15E10F, true}, {0x12C1AE, true}, {0x2644D0, false}, {0x200000, true}});
    writeCall(memory, kGame + 0x17AD69, kModule + 0x1230);
    memory.pokeU8(kGame + 0x12C1AE, 0xE9);
    memory.pokeU32(kGame + 0x2644D0, kModule + 0x40);
    writeCall(memory, kGame + 0x200000, 0x12345678);

    const std::vector<std::string> expected{
        "+0x17ad69 patched +0x175bc0 -> module",
        "+0x15e10f skipped",
        "+0x12c1ae patched +0x12b730 -> none",
        "+0x2644d0 patched +0x110b40 -> module",
        "+0x200000 patched +0x100000 -> foreign",
    };
    EXPECT_EQ(survey.report(kNames), expected);
}

TEST(HookSurvey, AddressNamesStopAtEachImageEnd) {
    const struct {
        HostAddr address;
        const char* name;
    } cases[] = {
        {kGame, "+0x0"},
        {kGame + 0x49FFFF, "+0x49ffff"},
        {kGame + 0x4A0000, "foreign"},
        {kModule, "module"},
        {kModule + 0x1FFFF, "module"},
        {kModule + 0x20000, "foreign"},
        {kGame - 1, "foreign"},
    };
    for (const auto& c : cases) EXPECT_EQ(kNames(c.address), c.name) << std::hex << c.address;
}

TEST(Transcript, OneEventPerLine) {
    Transcript transcript;
    transcript.add("offline-ttrr", 0, EventKind::Hook, "+0x17ad69 skipped");
    transcript.add("disabled", 1234, EventKind::Log, "two\r\nlines");
    EXPECT_EQ(transcript.text(), "offline-ttrr 0 hook +0x17ad69 skipped\ndisabled 1234 log two  lines\n");
}

}  // namespace
}  // namespace tarvek::scenarios
