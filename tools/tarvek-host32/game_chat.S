# The game's chat-send routine and its call site, in the game's registers: the chat object in
# ECX, the text in EAX, one stack argument that the routine removes.
    .intel_syntax noprefix
    .text

# The routine: recorded by host32RecordChatSend(object, text); a sent line returns 1.
    .globl _host32ChatSend
_host32ChatSend:
    push eax
    push ecx
    cld
    call _host32RecordChatSend
    add esp, 8
    mov eax, 1
    ret 4

# uint32_t host32CallChatSend(target, object, text): the call the game makes at its call site.
    .globl _host32CallChatSend
_host32CallChatSend:
    push ebp
    mov ebp, esp
    push ebx
    push esi
    push edi
    push 0
    mov ecx, [ebp + 12]
    mov eax, [ebp + 16]
    call dword ptr [ebp + 8]
    pop edi
    pop esi
    pop ebx
    pop ebp
    ret
