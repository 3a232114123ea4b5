#pragma once
// The grammar of the !track command and its synonyms.
#include <cstdint>
#include <string_view>

namespace tarvek {

struct TrackCommand {
    enum class Kind { None, Usage, Me, Number };
    Kind kind = Kind::None;
    uint32_t number = 0;  // for Number
};

// None for any line that is not a !track, !ghost or !ghosts command; Usage when the argument is
// missing or not one unsigned 32-bit decimal number or "me". Expects the lower-cased line.
TrackCommand parseTrackCommand(std::string_view text);

}  // namespace tarvek
