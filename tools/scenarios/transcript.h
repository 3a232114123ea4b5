#pragma once
// The race transcript: one event per line, "SCENARIO FRAME KIND TEXT". Addresses appear only as
// offsets from the game's base or as "module", so transcripts of different hosts compare line
// by line.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_memory.h"

namespace tarvek::scenarios {

// Registers: how a patched call site passed the game's registers and flags through (a host that
// runs real machine code writes it).
enum class EventKind { Hook, Log, Chat, Status, Gap, Timer, Marked, Registers };

std::string_view eventKindName(EventKind kind);

class Transcript {
public:
    void add(std::string_view scenario, uint32_t frame, EventKind kind, std::string_view text);
    const std::vector<std::string>& lines() const { return lines_; }
    size_t countFor(std::string_view scenario) const;
    // Every line followed by a line feed.
    std::string text() const;

private:
    std::vector<std::string> lines_;
};

// Names an address for the transcript: "+0x1a2b" inside the game's image, "module" inside the
// loaded module, "foreign" anywhere else.
struct AddressNames {
    HostAddr gameBase = 0;
    uint32_t gameSize = 0;
    HostAddr moduleBase = 0;
    uint32_t moduleSize = 0;

    std::string operator()(HostAddr address) const;
    // The text with every address written as 0x and eight hex digits (the module's log lines)
    // named the same way, except that one outside both images is "object": where a host keeps
    // its game objects differs from host to host.
    std::string inText(std::string_view text) const;
};

// "+0x" and the offset in lower-case hexadecimal.
std::string offsetText(uint32_t offset);

}  // namespace tarvek::scenarios
