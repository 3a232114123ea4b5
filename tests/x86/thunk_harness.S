/* Test driver for the x86-32 thunks (Linux i386 only): harnessCall enters a routine with every
   register and flag set from a RegisterState and records what comes back; harnessHostRoutine
   stands in for host code, recording what it was entered with and returning chosen values. */
    .intel_syntax noprefix
    .text

/* Stores EAX, ECX, EDX, EBX, EBP, ESI, EDI and the flags into the RegisterState at destination
   (its ESP field is left alone); EAX then holds the destination. */
.macro STORE_REGISTERS destination:vararg
    pushfd
    push eax
    mov eax, \destination
    pop dword ptr [eax]
    pop dword ptr [eax + 32]
    mov [eax + 4], ecx
    mov [eax + 8], edx
    mov [eax + 12], ebx
    mov [eax + 20], ebp
    mov [eax + 24], esi
    mov [eax + 28], edi
.endm

/* void harnessCall(const RegisterState* in, RegisterState* out, uint32_t target,
                    const uint32_t* arguments, uint32_t count)
   out->esp receives the number of bytes the routine removed from the stack. */
    .globl harnessCall
harnessCall:
    push ebp
    push ebx
    push esi
    push edi
    mov eax, [esp + 20]
    mov [harnessIn], eax
    mov eax, [esp + 24]
    mov [harnessOut], eax
    mov eax, [esp + 28]
    mov [harnessTarget], eax
    mov esi, [esp + 32]
    mov ecx, [esp + 36]
    mov [harnessSavedEsp], esp
1:  test ecx, ecx
    jz 2f
    dec ecx
    push dword ptr [esi + 4 * ecx]
    jmp 1b
2:  mov [harnessEspAtCall], esp
    mov ebx, [harnessIn]
    push dword ptr [ebx + 32]
    popfd
    mov eax, [ebx]
    mov ecx, [ebx + 4]
    mov edx, [ebx + 8]
    mov ebp, [ebx + 20]
    mov esi, [ebx + 24]
    mov edi, [ebx + 28]
    mov ebx, [ebx + 12]
    call dword ptr [harnessTarget]
    .globl harnessReturnPoint
harnessReturnPoint:
    STORE_REGISTERS dword ptr [harnessOut]
    mov ecx, esp
    sub ecx, [harnessEspAtCall]
    mov [eax + 16], ecx
    cld
    mov esp, [harnessSavedEsp]
    pop edi
    pop esi
    pop ebx
    pop ebp
    ret

/* Host code stand-in: records registers, flags, ESP and the top seven stack words (return address
   first), then returns harnessHostResult's EAX, ECX, EDX and flags and removes harnessHostPops
   bytes of arguments. */
    .globl harnessHostRoutine
harnessHostRoutine:
    STORE_REGISTERS offset harnessSeen
    mov [eax + 16], esp
    xor edx, edx
3:  mov ecx, [esp + 4 * edx]
    mov [harnessSeenStack + 4 * edx], ecx
    inc edx
    cmp edx, 7
    jne 3b
    inc dword ptr [harnessHostCalls]
    mov eax, [harnessHostResult]
    mov ecx, [harnessHostResult + 4]
    mov edx, [harnessHostResult + 8]
    pop dword ptr [harnessHostReturn]
    add esp, [harnessHostPops]
    push dword ptr [harnessHostResult + 32]
    popfd
    jmp dword ptr [harnessHostReturn]

    .bss
    .balign 4
    .globl harnessSeen, harnessSeenStack, harnessHostCalls, harnessHostResult, harnessHostPops, harnessEspAtCall
harnessSeen:        .skip 36
harnessSeenStack:   .skip 28
harnessHostCalls:   .skip 4
harnessHostResult:  .skip 36
harnessHostPops:    .skip 4
harnessEspAtCall:   .skip 4
harnessIn:          .skip 4
harnessOut:         .skip 4
harnessTarget:      .skip 4
harnessSavedEsp:    .skip 4
harnessHostReturn:  .skip 4

    .section .note.GNU-stack, "", @progbits
