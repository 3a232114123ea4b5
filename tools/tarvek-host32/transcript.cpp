#include "tools/tarvek-host32/transcript.h"

#include <cstdio>

namespace tarvek::host32 {

std::string_view eventKindName(EventKind kind) {
    switch (kind) {
        case EventKind::Hook: return "hook";
        case EventKind::Log: return "log";
        case EventKind::Chat: return "chat";
        case EventKind::Status: return "status";
        case EventKind::Gap: return "gap";
        case EventKind::Timer: return "timer";
        case EventKind::Marked: return "marked";
    }
    return "?";
}

void Transcript::add(std::string_view scenario, uint32_t frame, EventKind kind, std::string_view text) {
    std::string line(scenario);
    line += ' ';
    line += std::to_string(frame);
    line += ' ';
    line += eventKindName(kind);
    line += ' ';
    // A line break inside the text would split the event; keep one event per line.
    for (char c : text) line += (c == '\n' || c == '\r') ? ' ' : c;
    lines_.push_back(std::move(line));
}

std::string Transcript::text() const {
    std::string out;
    for (const auto& line : lines_) out += line + '\n';
    return out;
}

std::string offsetText(uint32_t offset) {
    char text[16];
    std::snprintf(text, sizeof text, "+0x%x", offset);
    return text;
}

namespace {
bool inside(HostAddr address, HostAddr base, uint32_t size) {
    return address >= base && uint64_t{address} < uint64_t{base} + size;
}
}  // namespace

std::string AddressNames::operator()(HostAddr address) const {
    if (inside(address, gameBase, gameSize)) return offsetText(address - gameBase);
    if (inside(address, moduleBase, moduleSize)) return "module";
    return "foreign";
}

}  // namespace tarvek::host32
