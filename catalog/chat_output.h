#pragma once
// Lines written into the game's chat through the host's chat print routine.
#include <string_view>

#include "host/host_memory.h"

namespace tarvek {

// The chat object last seen by the chat hook (game thread only); 0 before any.
HostAddr& chatTargetObject();

// The host's chat print routine, set by the start-up code; 0 while unknown (nothing is printed).
void setChatPrintRoutine(HostAddr routine);
HostAddr chatPrintRoutine();

// Without a world the line goes to chatTargetObject. With one, to the chat object of that world:
// chatTargetObject when it belongs to the world, else the game's current chat object, which then
// becomes chatTargetObject. Writes nothing when no such object is readable.
void postChatLine(std::string_view text, HostAddr world);

}  // namespace tarvek
