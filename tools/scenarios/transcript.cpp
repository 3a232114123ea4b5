#include "tools/scenarios/transcript.h"

#include <cctype>
#include <cstdio>

namespace tarvek::scenarios {

std::string_view eventKindName(EventKind kind) {
    switch (kind) {
        case EventKind::Hook: return "hook";
        case EventKind::Log: return "log";
        case EventKind::Chat: return "chat";
        case EventKind::Status: return "status";
        case EventKind::Gap: return "gap";
        case EventKind::Timer: return "timer";
        case EventKind::Marked: return "marked";
        case EventKind::Registers: return "registers";
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

size_t Transcript::countFor(std::string_view scenario) const {
    size_t count = 0;
    for (const auto& line : lines_) count += line.size() > scenario.size() && line.compare(0, scenario.size(), scenario) == 0 && line[scenario.size()] == ' ';
    return count;
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

std::string AddressNames::inText(std::string_view text) const {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        // 0x and one to eight hex digits: hosts differ in how wide their addresses print.
        size_t digits = 0;
        if (text.compare(i, 2, "0x") == 0)
            while (i + 2 + digits < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 2 + digits])))
                ++digits;
        const HostAddr value =
            digits >= 1 && digits <= 8 ? static_cast<HostAddr>(std::stoul(std::string(text.substr(i + 2, digits)), nullptr, 16)) : 0;
        // Below 64 KiB a value is an offset or a size: no host maps anything there.
        if (value < 0x10000) {
            out += text[i++];
            continue;
        }
        const std::string name = (*this)(value);
        out += name == "foreign" ? "object" : name;
        i += 2 + digits;
    }
    return out;
}

}  // namespace tarvek::scenarios
