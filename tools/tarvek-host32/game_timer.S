# The game's calls through its turn-timer call sites, and the game's own turn-timer routines,
# both recording registers and flags, so whatever a module puts between them can be checked
# for passing everything through both ways. Records are GameRegisters (game_registers.h).
    .intel_syntax noprefix
    .text

# Stores every register and the flags into the record whose address the instruction given puts
# in EAX (EAX itself goes through the stack, so no register or flag changes on the way).
.macro RECORD load:vararg
    pushfd
    push eax
    \load
    pop dword ptr [eax]
    pop dword ptr [eax + 28]
    mov [eax + 4], ecx
    mov [eax + 8], edx
    mov [eax + 12], ebx
    mov [eax + 16], esi
    mov [eax + 20], edi
    mov [eax + 24], ebp
    mov eax, [eax]
.endm

# void host32CallWithRegisters(target, in, out, arguments, count)
    .globl _host32CallWithRegisters
_host32CallWithRegisters:
    push ebp
    mov ebp, esp
    push ebx
    push esi
    push edi
    mov esi, [ebp + 20]
    mov ecx, [ebp + 24]
1:  test ecx, ecx
    jz 2f
    dec ecx
    push dword ptr [esi + 4 * ecx]
    jmp 1b
2:  mov [callStack], esp
    mov eax, [ebp + 12]
    mov [eax + 24], ebp
    push dword ptr [eax + 28]
    popfd
    mov ecx, [eax + 4]
    mov edx, [eax + 8]
    mov ebx, [eax + 12]
    mov esi, [eax + 16]
    mov edi, [eax + 20]
    mov eax, [eax]
    call dword ptr [ebp + 8]
    RECORD mov eax, [ebp + 16]
    mov edx, [ebp + 16]
    mov ecx, esp
    sub ecx, [callStack]
    mov [edx + 32], ecx
    cld
    lea esp, [ebp - 12]
    pop edi
    pop esi
    pop ebx
    pop ebp
    ret

# A game routine: records its entry, runs body(EAX, ECX, EDX, stack arguments) for EAX, leaves
# values of its own in ECX, EDX and the flags (no caller may count on them), records its exit
# and returns, removing argBytes.
.macro GAME_ROUTINE name, index, body, argBytes
    .globl \name
\name:
    RECORD mov eax, offset _host32RoutineEntry + 36 * \index
    push ebp
    push ebx
    mov ebp, esp
    lea ebx, [esp + 12]
    and esp, -16
    push ebx
    push edx
    push ecx
    push eax
    cld
    call \body
    mov esp, ebp
    pop ebx
    pop ebp
    mov ecx, 0xC5C5C500 + \index
    mov edx, 0xD5D5D500 + \index
    push 0x893
    popfd
    RECORD mov eax, offset _host32RoutineExit + 36 * \index
    mov dword ptr [_host32RoutineExit + 36 * \index + 32], \argBytes
    ret \argBytes
.endm

    GAME_ROUTINE _host32TimerUpdate, 0, _host32TimerUpdateBody, 0
    GAME_ROUTINE _host32TimerTeam, 1, _host32TimerTeamBody, 0
    GAME_ROUTINE _host32TimerRender, 2, _host32TimerRenderBody, 24

    .bss
    .balign 4
callStack:
    .skip 4
