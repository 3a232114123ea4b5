#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "host/hook_table.h"
#include "platform/x86/thunk_entries.h"

struct Registers {
    uint32_t eax, ecx, edx, ebx, esp, ebp, esi, edi, eflags;
};

extern "C" {
// Enters target with every register and flag from in; out gets them back, esp = bytes removed.
void harnessCall(const Registers* in, Registers* out, uint32_t target, const uint32_t* arguments, uint32_t count);
void harnessHostRoutine();  // stands in for host code: records its entry, returns harnessHostResult
void harnessReturnPoint();
extern Registers harnessSeen, harnessHostResult;
extern uint32_t harnessSeenStack[7], harnessHostCalls, harnessHostPops, harnessEspAtCall;
}

uint32_t tarvekPreviousTargets[TARVEK_HOOK_COUNT];

namespace {

// The host's flags have carry, parity, adjust, zero, sign, direction and overflow set.
constexpr Registers kHost{0x11111111, 0x22222222, 0x33333333, 0x44444444, 0, 0x66666666, 0x77777777, 0x88888888, 0xCD7};
constexpr Registers kResult{0xA1A1A1A1, 0xC1C1C1C1, 0xD1D1D1D1, 0, 0, 0, 0, 0, 0x8C3};
constexpr uint32_t kFlags = 0xCD5;
constexpr uint32_t kArguments[6] = {0x1001, 0x1002, 7, 0x1004, 0x1005, 0x1006};

std::array<uint32_t, 8> entered(const Registers& r) { return {r.eax, r.ecx, r.edx, r.ebx, r.ebp, r.esi, r.edi, r.eflags & kFlags}; }
std::array<uint32_t, 4> returned(const Registers& r) { return {r.eax, r.ecx, r.edx, r.eflags & kFlags}; }
std::array<uint32_t, 4> calleeSaved(const Registers& r) { return {r.ebx, r.ebp, r.esi, r.edi}; }
uint32_t address(void (*routine)()) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(routine)); }

// What each C++ entry was called with, whether the direction flag was clear, and how often the host
// routine had run by then.
std::vector<std::string> calls;
uint32_t entryResult = 0;

uint32_t record(std::string name, std::initializer_list<uint32_t> values) {
    uint32_t flags;
    asm volatile("pushfl; popl %0" : "=r"(flags));
    char hex[12];
    for (uint32_t value : values) name += (snprintf(hex, sizeof hex, " %x", value), hex);
    calls.push_back(name + (flags & 0x400 ? " DF" : "") + " @" + std::to_string(harnessHostCalls));
    // Clobber what a C++ function may: EAX, ECX, EDX and the flags.
    asm volatile("movl $0xDEADBEEF, %%eax; movl %%eax, %%ecx; movl %%eax, %%edx; addl %%eax, %%eax" ::: "eax", "ecx", "edx", "cc");
    return entryResult;
}

}  // namespace

extern "C" {
uint32_t tarvekChatEntry(uint32_t chat, uint32_t text) noexcept { return record("chat", {chat, text}); }
void tarvekTimerColourAEntry(uint32_t ecx, uint32_t*) noexcept { record("timer A", {ecx}); }
void tarvekDisplayOverlayEntry(uint32_t ecx, uint32_t*) noexcept { record("overlay", {ecx}); }
void tarvekInitBordersEntry(uint32_t ecx, uint32_t* s) noexcept { record("borders", {ecx, s[0], s[3]}); }
void tarvekMapSourceBefore(uint32_t, uint32_t ecx, uint32_t, uint32_t*) noexcept { record("map source", {ecx}); }
void tarvekTimerColourBBefore(uint32_t eax, uint32_t, uint32_t edx, uint32_t*) noexcept { record("timer B", {eax, edx}); }
void tarvekTimerDrawingBefore(uint32_t, uint32_t, uint32_t, uint32_t* s) noexcept {
    record("drawing", {s[0], s[2]});
    s[2] = kArguments[2] + 1;  // the colour parameter, replaced
}
void tarvekMapSourceAfter(uint32_t result) noexcept { record("after", {result}); }
void tarvekTimerColourBAfter(uint32_t result) noexcept { record("after", {result}); }
void tarvekTimerDrawingAfter(uint32_t result) noexcept { record("after", {result}); }
uint32_t tarvekWormMessageEntry(uint32_t o, uint32_t* s) noexcept { return record("thiscall", {o, s[0], s[3]}); }
uint32_t tarvekDisplayLine6Entry(uint32_t o, uint32_t* s) noexcept { return record("thiscall", {o, s[0], s[5]}); }
uint32_t tarvekDisplayLine5Entry(uint32_t o, uint32_t* s) noexcept { return record("thiscall", {o, s[0], s[4]}); }
uint32_t tarvekDisplaySpriteEntry(uint32_t o, uint32_t* s) noexcept { return record("thiscall", {o, s[0], s[3]}); }
}

namespace {

Registers enter(uint32_t target, const uint32_t* arguments, uint32_t count, uint32_t hostPops, uint32_t result = 0) {
    calls.clear();
    entryResult = result;
    harnessHostCalls = 0;
    harnessHostResult = kResult;
    harnessHostPops = hostPops;
    for (uint32_t& previous : tarvekPreviousTargets) previous = address(&harnessHostRoutine);
    Registers out{};
    harnessCall(&kHost, &out, target, arguments, count);
    return out;
}

TEST(Thunks, ChainedHooksEnterTheHostWithItsOwnRegistersFlagsAndStack) {
    const std::string after = "after a1a1a1a1 @1";
    const struct {
        void (*thunk)();
        uint32_t count;
        std::vector<std::string> calls;
        bool returnsThroughThunk;
    } rows[] = {
        {&tarvekTimerColourAThunk, 4, {"timer A 22222222 @0"}, false},
        {&tarvekDisplayOverlayThunk, 4, {"overlay 22222222 @0"}, false},
        {&tarvekInitBordersThunk, 4, {"borders 22222222 1001 1004 @0"}, false},
        {&tarvekChatThunk, 1, {"chat 22222222 11111111 @0"}, false},  // not consumed
        {&tarvekMapSourceThunk, 2, {"map source 22222222 @0", after}, true},
        {&tarvekTimerColourBThunk, 1, {"timer B 11111111 33333333 @0", after}, true},
        {&tarvekTimerDrawingThunk, 6, {"drawing 1001 7 @0", after}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.calls[0]);
        const Registers out = enter(address(row.thunk), kArguments, row.count, 4 * row.count);
        EXPECT_EQ(calls, row.calls);  // no "DF": the entries run with the direction flag clear
        EXPECT_EQ(harnessHostCalls, 1u);
        EXPECT_EQ(entered(harnessSeen), entered(kHost));
        EXPECT_EQ(harnessSeen.esp, harnessEspAtCall - 4);  // at the depth the host called the thunk
        EXPECT_EQ(harnessSeenStack[0] == address(&harnessReturnPoint), !row.returnsThroughThunk);
        std::vector<uint32_t> expected(kArguments, kArguments + row.count), seen(harnessSeenStack + 1, harnessSeenStack + 1 + row.count);
        if (row.count == 6) expected[2] = kArguments[2] + 1;  // the timer drawn with the replaced colour
        EXPECT_EQ(seen, expected);
        EXPECT_EQ(returned(out), returned(kResult));
        EXPECT_EQ(calleeSaved(out), calleeSaved(kHost));
        EXPECT_EQ(out.esp, 4 * row.count);
    }
}

// Routines that answer the host themselves: a swallowed chat line, and the class-table routines.
TEST(Thunks, RoutinesThatReturnToTheHostRemoveItsArguments) {
    const struct {
        void (*thunk)();
        uint32_t count, result;
        std::string call;
    } rows[] = {{&tarvekChatThunk, 1, 1, "chat 22222222 11111111 @0"},
                {&tarvekWormMessageThunk, 4, 0x5EED, "thiscall 22222222 1001 1004 @0"},
                {&tarvekDisplayLine6Thunk, 6, 0x5EED, "thiscall 22222222 1001 1006 @0"},
                {&tarvekDisplayLine5Thunk, 5, 0x5EED, "thiscall 22222222 1001 1005 @0"},
                {&tarvekDisplaySpriteThunk, 4, 0x5EED, "thiscall 22222222 1001 1004 @0"}};
    for (const auto& row : rows) {
        const Registers out = enter(address(row.thunk), kArguments, row.count, 0, row.result);
        EXPECT_EQ(calls, std::vector<std::string>{row.call});
        EXPECT_EQ(harnessHostCalls, 0u);
        EXPECT_EQ(out.eax, row.result);
        EXPECT_EQ(out.esp, 4 * row.count);
        EXPECT_EQ(calleeSaved(out), calleeSaved(kHost));
    }
}

TEST(Thunks, CallsIntoHostCodeLoadRegistersAndSurviveEitherCleanup) {
    const struct {
        uint32_t eax, ecx, count, hostPops;
    } rows[] = {
        {0xEAEA, 0, 0, 0},   // worm drawing: the worm image in EAX
        {0, 0, 3, 12},       // rope drawing: three arguments the callee removes
        {0, 0, 4, 16},       // chat print: four
        {0, 0xC0C0, 4, 16},  // a class-table entry (thiscall)
        {0, 0, 2, 0},        // a callee that leaves its arguments to the caller
    };
    for (const auto& row : rows) {
        const uint32_t call[] = {address(&harnessHostRoutine), row.eax, row.ecx,
                                 static_cast<uint32_t>(reinterpret_cast<uintptr_t>(kArguments)), row.count};
        const Registers out = enter(address(reinterpret_cast<void (*)()>(&tarvekCallHost)), call, 5, row.hostPops);
        EXPECT_EQ(harnessHostCalls, 1u);
        EXPECT_EQ(harnessSeen.eax, row.eax);
        EXPECT_EQ(harnessSeen.ecx, row.ecx);
        EXPECT_EQ(std::vector<uint32_t>(harnessSeenStack + 1, harnessSeenStack + 1 + row.count),
                  std::vector<uint32_t>(kArguments, kArguments + row.count));
        EXPECT_EQ(out.eax, kResult.eax);
        EXPECT_EQ(out.esp, 0u);  // an ordinary C function: its caller removes the arguments
        EXPECT_EQ(calleeSaved(out), calleeSaved(kHost));
    }
}

}  // namespace
