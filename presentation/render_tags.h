#pragma once
// The marks the drawing pass leaves in the render queue for the display hooks: flag bits on the
// ghost's sprite commands and tag words in place of its line colours.
#include <cstdint>

#include "host/host_memory.h"
#include "host/settings.h"

namespace tarvek {

namespace sprite_flags {
constexpr uint32_t kTranslucent = 0x04000000;  // the host's own translucent draw
constexpr uint32_t kGoldGhost = 0x00100000;
constexpr uint32_t kBlueGhost = 0x00200000;
constexpr uint32_t kPersonalNameTag = 0x40000000;  // the blue ghost's tag follows this sprite
constexpr uint32_t kGoldExtras = 0x80000000;       // crown and world-record tag follow this sprite
constexpr uint32_t kModuleMarks = kGoldGhost | kBlueGhost | kPersonalNameTag | kGoldExtras;
}  // namespace sprite_flags

// A line colour word tagged for a ghost: 0xA5 in bits 24..31, the level in bits 17..19, bit 16
// for the blue ghost, segments - 1 in bits 8..13, the polyline number split over bits 14..15
// (n mod 4) and 20..23 ((n div 4) mod 16), the colour in bits 0..7.
struct LineTag {
    uint8_t colour = 0;
    uint32_t level = 0;
    bool isBlue = false;
    uint32_t segments = 1;  // 1..64
    uint32_t polyline = 0;  // 0..63
};

constexpr uint32_t kLineTagMark = 0xA5;

uint32_t encodeLineTag(const LineTag& tag);
constexpr bool isLineTag(uint32_t word) { return (word >> 24) == kLineTagMark; }
LineTag decodeLineTag(uint32_t word);

// The ghost is drawn through its own tables when its opacity is below 100, its colour switch is
// on, or the proximity fade can lower its opacity.
bool ghostIsTranslucent(const Settings& settings, bool isBlue);

// Marks the commands [firstNewIndex, count) of the render queue that one ghost's worm body
// (isWormBody) or rope just produced. Unreadable entries are left as they are.
void markGhostCommands(HostAddr queue, uint32_t firstNewIndex, bool isBlue, bool isWormBody, uint32_t fadeLevel);

}  // namespace tarvek
