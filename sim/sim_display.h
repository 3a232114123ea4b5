#pragma once
// The game's display object: class table, palette, scroll offset, translucency table and an
// 8-bit drawing surface, laid out in simulated memory where the module reads them.
#include <cstdint>
#include <vector>

#include "sim/address_space.h"
#include "sim/sim_memory.h"
#include "sim/sim_palette.h"
#include "sim/sim_raster.h"

namespace tarvek::sim {

class SimHost;

struct DisplayObjects {
    HostAddr display = 0;
    HostAddr surface = 0;
    HostAddr pixels = 0;
    uint32_t stride = 0;
};

// The display object, its surface (width x height, 8 bits, unclipped) and the palette with its
// translucency table, as the game lays them out.
DisplayObjects layOutDisplay(AddressSpace& space, HostAddr base, uint32_t width, uint32_t height,
                             const Palette& palette = gamePalette());
// Writes the palette and the game's translucency table derived from it.
void writeDisplayPalette(AddressSpace& space, HostAddr display, const Palette& palette);

class SimDisplay {
public:
    SimDisplay(SimHost& host, uint32_t width, uint32_t height, const Palette& palette = gamePalette());

    HostAddr address() const { return display_; }
    HostAddr surface() const { return surface_; }
    uint32_t width() const { return width_; }
    uint32_t height() const { return height_; }

    // Writes the palette and the game's translucency table derived from it.
    void setPalette(const Palette& palette);
    Palette palette() const;
    void setScroll(int32_t x, int32_t y);
    void setClip(const ClipRect& clip);

    // A sky over a band of ground, the same every time (worked out once per palette).
    void paintBackground();
    std::vector<uint8_t> pixels() const;  // width x height, row by row

private:
    SimHost& host_;
    uint32_t width_;
    uint32_t height_;
    uint32_t stride_ = 0;
    HostAddr display_ = 0;
    HostAddr surface_ = 0;
    HostAddr pixels_ = 0;
    std::vector<uint8_t> background_;  // width x height, for the palette it was made with
    Palette backgroundPalette_{};
};

// Surface access for the game's own drawing routines: the display's current surface and clip.
Canvas8 surfaceCanvas(AddressSpace& memory, HostAddr display);

}  // namespace tarvek::sim
