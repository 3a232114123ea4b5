/* x86-32 thunks between the host's calling conventions and the module's C++ entries (declared in
   thunk_entries.h; the hook contracts are described beside the hook table). Built into the DLL
   and into the 32-bit Linux thunk tests: PE symbols carry a leading underscore, ELF ones do not. */
#include "host/hook_ids.h"

#if defined(_WIN32)
#define SYM(name) _##name
#else
#define SYM(name) name
#endif
#define PREVIOUS(id) dword ptr [SYM(tarvekPreviousTargets) + 4 * (id)]

    .intel_syntax noprefix
    .text

/* entry(ECX, EAX) on a stack aligned to 16 with the direction flag clear; EBP keeps the stack
   pointer to come back to. */
.macro CALL_WITH_ECX_EAX entry
    mov ebp, esp
    and esp, -16
    sub esp, 8
    push eax
    push ecx
    cld
    call \entry
    mov esp, ebp
.endm

/* Before-hook: every register and the flags saved around entry(ECX, stack arguments), then a jump
   into the previous target, which returns straight to the host. */
.macro BEFORE_HOOK name, entry, id
    .globl \name
\name:
    pushfd
    pushad
    lea eax, [esp + 40]         /* past the registers, the flags and the return address */
    CALL_WITH_ECX_EAX \entry
    popad
    popfd
    jmp PREVIOUS(\id)
.endm

/* Around-hook: before(EAX, ECX, EDX, stack arguments) with everything saved; the previous target
   called with the host's registers, flags and stack arguments; after(EAX) with everything the
   previous target returned saved. The host's return address waits in returnSlot meanwhile, so
   the previous target sees the stack arguments where the host put them. One slot per site: the
   host runs each of these sites on one thread at a time and never re-enters it. */
.macro AROUND_HOOK name, before, after, id, returnSlot
    .globl \name
\name:
    pushfd
    pushad
    mov ebp, esp
    lea esi, [esp + 40]
    and esp, -16
    push esi
    push edx
    push ecx
    push eax
    cld
    call \before
    mov esp, ebp
    popad
    popfd
    pop dword ptr [\returnSlot]
    call PREVIOUS(\id)
    push dword ptr [\returnSlot]
    pushfd
    pushad
    mov ebp, esp
    and esp, -16
    sub esp, 12
    push eax
    cld
    call \after
    mov esp, ebp
    popad
    popfd
    ret
.endm

/* thiscall routine: entry(ECX, stack arguments) returns the result; the thunk removes the
   arguments as the host's callee must. EBX, ESI, EDI and EBP survive the C++ call. */
.macro THISCALL_ROUTINE name, entry, count
    .globl \name
\name:
    push ebp
    lea eax, [esp + 8]
    CALL_WITH_ECX_EAX \entry
    pop ebp
    ret 4 * \count
.endm

    BEFORE_HOOK SYM(tarvekTimerColourAThunk), SYM(tarvekTimerColourAEntry), TARVEK_HOOK_TIMER_COLOUR_A
    BEFORE_HOOK SYM(tarvekDisplayOverlayThunk), SYM(tarvekDisplayOverlayEntry), TARVEK_HOOK_DISPLAY_OVERLAY
    BEFORE_HOOK SYM(tarvekInitBordersThunk), SYM(tarvekInitBordersEntry), TARVEK_HOOK_INIT_BORDERS

    AROUND_HOOK SYM(tarvekMapSourceThunk), SYM(tarvekMapSourceBefore), SYM(tarvekMapSourceAfter), TARVEK_HOOK_MAP_SOURCE, mapSourceReturn
    AROUND_HOOK SYM(tarvekTimerColourBThunk), SYM(tarvekTimerColourBBefore), SYM(tarvekTimerColourBAfter), TARVEK_HOOK_TIMER_COLOUR_B, timerColourBReturn
    AROUND_HOOK SYM(tarvekTimerDrawingThunk), SYM(tarvekTimerDrawingBefore), SYM(tarvekTimerDrawingAfter), TARVEK_HOOK_TIMER_DRAWING, timerDrawingReturn

    THISCALL_ROUTINE SYM(tarvekWormMessageThunk), SYM(tarvekWormMessageEntry), 4
    THISCALL_ROUTINE SYM(tarvekDisplayLine6Thunk), SYM(tarvekDisplayLine6Entry), 6
    THISCALL_ROUTINE SYM(tarvekDisplayLine5Thunk), SYM(tarvekDisplayLine5Entry), 5
    THISCALL_ROUTINE SYM(tarvekDisplaySpriteThunk), SYM(tarvekDisplaySpriteEntry), 4

/* Chat: ECX chat object, EAX text, one stack argument. Swallowed: EAX = 1 and the argument
   removed. Otherwise the host's chat-send runs with every register and flag as the host set them. */
    .globl SYM(tarvekChatThunk)
SYM(tarvekChatThunk):
    pushfd
    push ecx
    push edx
    push eax
    push ebp
    CALL_WITH_ECX_EAX SYM(tarvekChatEntry)
    pop ebp
    test eax, eax
    pop eax
    pop edx
    pop ecx
    jnz 1f
    popfd
    jmp PREVIOUS(TARVEK_HOOK_CHAT)
1:  popfd
    mov eax, 1
    ret 4

/* uint32_t tarvekCallHost(target, eax, ecx, arguments, count) */
    .globl SYM(tarvekCallHost)
SYM(tarvekCallHost):
    push ebp
    mov ebp, esp
    push ebx
    push esi
    push edi
    mov esi, [ebp + 20]
    mov ecx, [ebp + 24]
2:  test ecx, ecx
    jz 3f
    dec ecx
    push dword ptr [esi + 4 * ecx]
    jmp 2b
3:  mov eax, [ebp + 12]
    mov ecx, [ebp + 16]
    call dword ptr [ebp + 8]
    lea esp, [ebp - 12]         /* whoever removes the arguments, the frame comes back */
    cld
    pop edi
    pop esi
    pop ebx
    pop ebp
    ret

    .bss
    .balign 4
mapSourceReturn:
    .skip 4
timerColourBReturn:
    .skip 4
timerDrawingReturn:
    .skip 4

#if !defined(_WIN32)
    .section .note.GNU-stack, "", @progbits
#endif
