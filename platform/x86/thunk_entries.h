#pragma once
// The x86-32 thunks the host calls through its patched call sites and class tables, the C++
// entries the thunks call, and the one call-out into host code. The DLL defines the entries
// (hook_entries.cpp); the thunk test harness defines its own stand-ins.
//
// Entries are called with the direction flag clear and the stack aligned to 16 bytes.
#include <cstdint>

#include "host/hook_ids.h"

extern "C" {

// Thunks: their addresses are what the patches write into the host.
void tarvekMapSourceThunk();       // call site: around LoadLandDat
void tarvekChatThunk();            // call site: before chat-send, which it may swallow
void tarvekTimerColourAThunk();    // call site: before the timer update
void tarvekTimerColourBThunk();    // call site: around one team's timer drawing
void tarvekTimerDrawingThunk();    // call site: around the timer bitmap rendering
void tarvekWormMessageThunk();     // thiscall, 4 stack arguments
void tarvekDisplayLine6Thunk();    // thiscall, 6 stack arguments
void tarvekDisplayLine5Thunk();    // thiscall, 5 stack arguments
void tarvekDisplaySpriteThunk();   // thiscall, 4 stack arguments
void tarvekDisplayOverlayThunk();  // before display slot 26
void tarvekInitBordersThunk();     // before Landscape InitBorders

// Chat: 1 swallows the line (the thunk returns 1 and removes the host's stack argument), 0
// enters the host's chat-send with every register as it was.
uint32_t tarvekChatEntry(uint32_t chatObject, uint32_t text) noexcept;

// Before-hooks: ECX and the host's stack arguments (read only); the thunk then enters the
// previous target with every register, the flags and the stack as the host left them.
void tarvekTimerColourAEntry(uint32_t ecx, uint32_t* stackArguments) noexcept;
void tarvekDisplayOverlayEntry(uint32_t ecx, uint32_t* stackArguments) noexcept;
void tarvekInitBordersEntry(uint32_t ecx, uint32_t* stackArguments) noexcept;

// Around-hooks: the first piece sees the host's registers and may change its stack arguments;
// the previous target runs with the host's registers and flags; the second piece gets its result
// and every register and flag it returned goes back to the host.
void tarvekMapSourceBefore(uint32_t eax, uint32_t ecx, uint32_t edx, uint32_t* stackArguments) noexcept;
void tarvekMapSourceAfter(uint32_t result) noexcept;
void tarvekTimerColourBBefore(uint32_t eax, uint32_t ecx, uint32_t edx, uint32_t* stackArguments) noexcept;
void tarvekTimerColourBAfter(uint32_t result) noexcept;
void tarvekTimerDrawingBefore(uint32_t eax, uint32_t ecx, uint32_t edx, uint32_t* stackArguments) noexcept;
void tarvekTimerDrawingAfter(uint32_t result) noexcept;

// Class-table routines: the object (ECX) and the stack arguments; the result goes to EAX and the
// thunk removes the arguments.
uint32_t tarvekWormMessageEntry(uint32_t worm, uint32_t* stackArguments) noexcept;
uint32_t tarvekDisplayLine6Entry(uint32_t display, uint32_t* stackArguments) noexcept;
uint32_t tarvekDisplayLine5Entry(uint32_t display, uint32_t* stackArguments) noexcept;
uint32_t tarvekDisplaySpriteEntry(uint32_t display, uint32_t* stackArguments) noexcept;

// Calls host code at target with EAX and ECX loaded and count arguments pushed (arguments[0]
// last, so it is the first); the stack comes back whether the callee removes them or not.
uint32_t tarvekCallHost(uint32_t target, uint32_t eax, uint32_t ecx, const uint32_t* arguments,
                        uint32_t count) noexcept;

}  // extern "C"
