#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/hook_table.h"
#include "platform/x86/thunk_entries.h"

struct RegisterState {
    uint32_t eax, ecx, edx, ebx, esp, ebp, esi, edi, eflags;
};

extern "C" {
void harnessCall(const RegisterState* in, RegisterState* out, uint32_t target, const uint32_t* arguments,
                 uint32_t count);
void harnessHostRoutine();
void harnessReturnPoint();
extern RegisterState harnessSeen, harnessHostResult;
extern uint32_t harnessSeenStack[7], harnessHostCalls, harnessHostPops, harnessEspAtCall;
}

uint32_t tarvekPreviousTargets[TARVEK_HOOK_COUNT];

namespace {

// Carry, parity, adjust, zero, sign, direction and overflow all set: the host's flags.
constexpr RegisterState kHost{0x11111111, 0x22222222, 0x33333333, 0x44444444, 0, 0x66666666, 0x77777777, 0x88888888,
                              0xCD7};
constexpr RegisterState kHostResult{0xA1A1A1A1, 0xC1C1C1C1, 0xD1D1D1D1, 0, 0, 0, 0, 0, 0x8C3};
constexpr uint32_t kFlagsMask = 0xCD5;
constexpr uint32_t kArguments[6] = {0x1001, 0x1002, 7, 0x1004, 0x1005, 0x1006};

struct EntryCall {
    std::string name;
    std::vector<uint32_t> values;
    uint32_t hostCallsBefore;
    bool directionClear;
};
std::vector<EntryCall> calls;
uint32_t entryResult = 0;

uint32_t address(void (*routine)()) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(routine)); }

// Records the call and then clobbers what a C++ function may: EAX, ECX, EDX and the flags.
uint32_t record(const char* name, std::vector<uint32_t> values) {
    uint32_t flags;
    asm volatile("pushfl; popl %0" : "=r"(flags));
    calls.push_back({name, std::move(values), harnessHostCalls, !(flags & 0x400)});
    asm volatile("movl $0xDEADBEEF, %%eax; movl %%eax, %%ecx; movl %%eax, %%edx; addl %%eax, %%eax" ::: "eax", "ecx",
                 "edx", "cc");
    return entryResult;
}

}  // namespace

extern "C" {
uint32_t tarvekChatEntry(uint32_t chat, uint32_t text) noexcept { return record("chat", {chat, text}); }
void tarvekTimerColourAEntry(uint32_t ecx, uint32_t*) noexcept { record("timer A", {ecx}); }
void tarvekDisplayOverlayEntry(uint32_t ecx, uint32_t*) noexcept { record("overlay", {ecx}); }
void tarvekInitBordersEntry(uint32_t ecx, uint32_t* s) noexcept { record("borders", {ecx, s[0], s[1], s[2], s[3]}); }
void tarvekMapSourceBefore(uint32_t, uint32_t ecx, uint32_t, uint32_t*) noexcept { record("map source", {ecx}); }
void tarvekMapSourceAfter(uint32_t result) noexcept { record("after", {result}); }
void tarvekTimerColourBBefore(uint32_t eax, uint32_t, uint32_t edx, uint32_t*) noexcept {
    record("timer B", {eax, edx});
}
void tarvekTimerColourBAfter(uint32_t result) noexcept { record("after", {result}); }
void tarvekTimerDrawingBefore(uint32_t, uint32_t, uint32_t, uint32_t* s) noexcept {
    record("drawing", {s[0], s[2]});
    s[2] = 8;  // the colour parameter, replaced
}
void tarvekTimerDrawingAfter(uint32_t result) noexcept { record("after", {result}); }
uint32_t tarvekWormMessageEntry(uint32_t o, uint32_t* s) noexcept { return record("worm", {o, s[0], s[3]}); }
uint32_t tarvekDisplayLine6Entry(uint32_t o, uint32_t* s) noexcept { return record("line 6", {o, s[0], s[5]}); }
uint32_t tarvekDisplayLine5Entry(uint32_t o, uint32_t* s) noexcept { return record("line 5", {o, s[0], s[4]}); }
uint32_t tarvekDisplaySpriteEntry(uint32_t o, uint32_t* s) noexcept { return record("sprite", {o, s[0], s[3]}); }
}

namespace {

class Thunks : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        entryResult = 0;
        harnessHostCalls = 0;
        harnessHostResult = kHostResult;
        for (uint32_t& target : tarvekPreviousTargets) target = address(&harnessHostRoutine);
    }

    RegisterState enter(void (*routine)(), const uint32_t* arguments, uint32_t count, uint32_t hostPops) {
        harnessHostPops = hostPops;
        RegisterState out{};
        harnessCall(&kHost, &out, address(routine), arguments, count);
        return out;
    }

    static void expectCalleeSaved(const RegisterState& out) {
        EXPECT_EQ(out.ebx, kHost.ebx);
        EXPECT_EQ(out.ebp, kHost.ebp);
        EXPECT_EQ(out.esi, kHost.esi);
        EXPECT_EQ(out.edi, kHost.edi);
    }

    // The host routine ran once, entered at the thunk's own stack depth with the host's registers
    // and flags and the arguments in place; its results came back to the host.
    static void expectHostUntouched(const RegisterState& out, uint32_t count, uint32_t pops) {
        EXPECT_EQ(harnessHostCalls, 1u);
        EXPECT_EQ(harnessSeen.eax, kHost.eax);
        EXPECT_EQ(harnessSeen.ecx, kHost.ecx);
        EXPECT_EQ(harnessSeen.edx, kHost.edx);
        EXPECT_EQ(harnessSeen.ebx, kHost.ebx);
        EXPECT_EQ(harnessSeen.ebp, kHost.ebp);
        EXPECT_EQ(harnessSeen.esi, kHost.esi);
        EXPECT_EQ(harnessSeen.edi, kHost.edi);
        EXPECT_EQ(harnessSeen.eflags & kFlagsMask, kHost.eflags & kFlagsMask);
        EXPECT_EQ(harnessSeen.esp, harnessEspAtCall - 4);
        for (uint32_t i = 0; i < count; ++i) EXPECT_EQ(harnessSeenStack[1 + i], kArguments[i]) << i;
        EXPECT_EQ(out.eax, kHostResult.eax);
        EXPECT_EQ(out.ecx, kHostResult.ecx);
        EXPECT_EQ(out.edx, kHostResult.edx);
        EXPECT_EQ(out.eflags & kFlagsMask, kHostResult.eflags & kFlagsMask);
        EXPECT_EQ(out.esp, pops);
        expectCalleeSaved(out);
    }
};

TEST_F(Thunks, BeforeHooksWorkThenEnterTheHostAsItCalledThem) {
    const struct {
        void (*thunk)();
        const char* name;
        std::vector<uint32_t> values;
    } rows[] = {
        {&tarvekTimerColourAThunk, "timer A", {kHost.ecx}},
        {&tarvekDisplayOverlayThunk, "overlay", {kHost.ecx}},
        {&tarvekInitBordersThunk, "borders", {kHost.ecx, 0x1001, 0x1002, 7, 0x1004}},
        {&tarvekChatThunk, "chat", {kHost.ecx, kHost.eax}},  // not consumed
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        const RegisterState out = enter(row.thunk, kArguments, 4, 16);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].name, row.name);
        EXPECT_EQ(calls[0].values, row.values);
        EXPECT_TRUE(calls[0].directionClear);
        EXPECT_EQ(harnessSeenStack[0], address(&harnessReturnPoint));  // returns straight to the host
        expectHostUntouched(out, 4, 16);
    }
}

TEST_F(Thunks, AroundHooksRunTheSecondPieceAfterTheHostReturns) {
    const struct {
        void (*thunk)();
        const char* name;
        std::vector<uint32_t> values;
        uint32_t count;
    } rows[] = {
        {&tarvekMapSourceThunk, "map source", {kHost.ecx}, 2},
        {&tarvekTimerColourBThunk, "timer B", {kHost.eax, kHost.edx}, 1},
        {&tarvekTimerDrawingThunk, "drawing", {0x1001, 7}, 6},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        const RegisterState out = enter(row.thunk, kArguments, row.count, 4 * row.count);
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].name, row.name);
        EXPECT_EQ(calls[0].values, row.values);
        EXPECT_EQ(calls[0].hostCallsBefore, 0u);
        EXPECT_EQ(calls[1].name, "after");
        EXPECT_EQ(calls[1].values, std::vector<uint32_t>{kHostResult.eax});
        EXPECT_EQ(calls[1].hostCallsBefore, 1u);
        EXPECT_TRUE(calls[0].directionClear && calls[1].directionClear);
        if (row.count == 6) {
            EXPECT_EQ(harnessSeenStack[3], 8u);  // the host drew with the replaced colour
            harnessSeenStack[3] = kArguments[2];
        }
        expectHostUntouched(out, row.count, 4 * row.count);
    }
}

TEST_F(Thunks, ConsumedChatLineNeverReachesTheHost) {
    entryResult = 1;
    const RegisterState out = enter(&tarvekChatThunk, kArguments, 1, 4);
    EXPECT_EQ(harnessHostCalls, 0u);
    EXPECT_EQ(out.eax, 1u);
    EXPECT_EQ(out.esp, 4u);  // the host's one stack argument removed
    expectCalleeSaved(out);
}

TEST_F(Thunks, ClassTableRoutinesAreThiscallAndRemoveTheirArguments) {
    const struct {
        void (*thunk)();
        const char* name;
        uint32_t count;
    } rows[] = {{&tarvekWormMessageThunk, "worm", 4},
                {&tarvekDisplayLine6Thunk, "line 6", 6},
                {&tarvekDisplayLine5Thunk, "line 5", 5},
                {&tarvekDisplaySpriteThunk, "sprite", 4}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        entryResult = 0x5EED;
        const RegisterState out = enter(row.thunk, kArguments, row.count, 0);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].values, (std::vector<uint32_t>{kHost.ecx, kArguments[0], kArguments[row.count - 1]}));
        EXPECT_EQ(out.eax, 0x5EEDu);
        EXPECT_EQ(out.esp, 4 * row.count);
        expectCalleeSaved(out);
    }
}

TEST_F(Thunks, CallsIntoHostCodeLoadRegistersAndSurviveEitherCleanup) {
    const struct {
        uint32_t eax, ecx, count, hostPops;
    } rows[] = {
        {0xEAEA, 0, 0, 0},      // worm drawing: the worm image in EAX
        {0, 0, 3, 12},          // rope drawing: three arguments the callee removes
        {0, 0, 4, 16},          // chat print: four
        {0, 0xC0C0, 4, 16},     // a class-table entry (thiscall)
        {0, 0, 2, 0},           // a callee that leaves its arguments to the caller
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.count);
        SetUp();
        const uint32_t call[] = {address(&harnessHostRoutine), row.eax, row.ecx,
                                 static_cast<uint32_t>(reinterpret_cast<uintptr_t>(kArguments)), row.count};
        harnessHostPops = row.hostPops;
        RegisterState out{};
        harnessCall(&kHost, &out, address(reinterpret_cast<void (*)()>(&tarvekCallHost)), call, 5);
        EXPECT_EQ(harnessHostCalls, 1u);
        if (row.eax) {
            EXPECT_EQ(harnessSeen.eax, row.eax);
        }
        if (row.ecx) {
            EXPECT_EQ(harnessSeen.ecx, row.ecx);
        }
        for (uint32_t i = 0; i < row.count; ++i) EXPECT_EQ(harnessSeenStack[1 + i], kArguments[i]);
        EXPECT_EQ(out.eax, kHostResult.eax);
        EXPECT_EQ(out.esp, 0u);  // an ordinary C function: the caller removes its arguments
        expectCalleeSaved(out);
    }
}

}  // namespace
