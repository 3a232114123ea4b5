#pragma once
// Name tags: the record holder's name rendered once by the host's own text routine (slot 7),
// trimmed to its ink, and drawn under the ghost through the ghost's level table.
#include <array>
#include <cstdint>
#include <string>

#include "host/host_memory.h"
#include "presentation/bitmap_descriptor.h"

namespace tarvek {

inline constexpr uint32_t kNameTagCanvasWidth = 128;
inline constexpr uint32_t kNameTagCanvasHeight = 24;
inline constexpr uint32_t kNameTagBytes = kNameTagCanvasWidth * kNameTagCanvasHeight;
inline constexpr uint32_t kNameTagTextStyle = 7;

struct NameTagCache {
    std::array<uint8_t, kNameTagBytes> canvas{};
    std::array<uint8_t, kNameTagBytes> tag{};  // trimmed, stride = width
    std::array<char, 260> text{};              // what the host reads the name from
    BitmapDescriptor canvasBitmap;
    BitmapDescriptor tagBitmap;
    int32_t renderedSize[2] = {0, 0};  // the text routine's out width and height
    uint32_t width = 0;
    uint32_t height = 0;
    HostAddr display = 0;
    bool built = false;

    bool builtFor(HostAddr forDisplay) const { return built && display == forDisplay; }
};

// The world-record ghost's cache (false) or the blue ghost's (true).
NameTagCache& nameTagCache(bool isBlue);
void dropGhostNameTags();

// Renders the text into the cache for this display unless it is empty or already there; label
// "WR" or "PR" names the tag in the log line.
void prepareNameTag(HostAddr display, const std::string& text, NameTagCache& cache, const char* label);

// Draws the ghost's tag below (x, y). tableAlreadySwapped: the caller has the ghost's level
// table in place of the host's already.
void drawNameTag(HostAddr display, int32_t x, int32_t y, bool isBlue, bool tableAlreadySwapped);

}  // namespace tarvek
