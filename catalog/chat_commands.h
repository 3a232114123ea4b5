#pragma once
// Module commands in the local player's chat lines: !track and its synonyms choose the blue
// ghost, !ranks and its synonyms list the leaderboard. A command is answered and swallowed.
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

// Called by the chat hook with the host's chat object and the NUL-terminated line; 1 when the
// line was a command (the game must not send it), 0 otherwise, also on any internal failure.
uint32_t handleChatCommand(HostAddr chatObject, HostAddr text) noexcept;

}  // namespace tarvek
