#include "catalog/track_command.h"

#include "host/text.h"

namespace tarvek {

TrackCommand parseTrackCommand(std::string_view text) {
    using Kind = TrackCommand::Kind;
    const std::string_view line = trimHostText(text);
    if (line.empty()) return {};
    const size_t split = line.find_first_of(" \t\r\n");
    const std::string_view word = line.substr(0, split);
    if (word != "!track" && word != "!ghost" && word != "!ghosts") return {};
    if (split == std::string_view::npos) return {Kind::Usage};
    const std::string_view rest = trimHostText(line.substr(split));
    if (rest.empty()) return {Kind::Usage};
    if (rest == "me") return {Kind::Me};
    uint32_t value = 0;
    for (const char c : rest) {
        if (c < '0' || c > '9') return {Kind::Usage};
        const uint32_t digit = static_cast<uint32_t>(c - '0');
        if (value > (UINT32_MAX - digit) / 10) return {Kind::Usage};
        value = value * 10 + digit;
    }
    return {Kind::Number, value};
}

}  // namespace tarvek
