#pragma once
// A drawing scene on the simulated host: a world with its display, render queue and colour
// table, the live worm, and the module's frame driver and display and turn-timer hooks
// installed. Ghosts are put in their slots as the race would show them; a frame is drawn the way
// the game draws one.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ghostdata/ghost_recording.h"
#include "sim/sim_display.h"
#include "sim/sim_host.h"
#include "sim/sim_world.h"
#include "sim/sim_worm.h"

namespace tarvek::sim {

using PixelPoint = std::pair<int32_t, int32_t>;

// Palette entries of the colour table: 1..6 red, blue, green, yellow, magenta, cyan (the team
// colours), 7 rope highlight, 8 orange, 9 rope brown, 10 grey.
std::vector<uint32_t> sceneColourTable(const Palette& palette);

// A ghost frame at (x, y) pixels whose render command makes the host draw the worm image.
GhostFrame sceneGhostFrame(int32_t x, int32_t y);
// The frame on a rope of `segments` anchors (taken from the live worm's rope), the crown turned
// by anchor (1/65536 of a turn) with the recorded sign kept.
void hangGhostOnRope(GhostFrame& frame, uint32_t segments, uint32_t anchor);

class SimScene {
public:
    // Resets the module and, with the module, installs its hooks; the frame driver has seen the
    // world once. Without the module the scene is the game alone.
    explicit SimScene(uint32_t width = 320, uint32_t height = 200, bool withModule = true);
    ~SimScene();
    SimScene(const SimScene&) = delete;
    SimScene& operator=(const SimScene&) = delete;

    // Another palette for the display; the colour table follows it.
    void usePalette(const Palette& palette);
    void placeLiveWorm(int32_t x, int32_t y);
    // The live worm on a rope through the anchors (pixels), last anchor nearest the worm.
    void hangLiveWormOnRope(const std::vector<PixelPoint>& anchors);
    // The ghost's slot holds this one frame, shown beside the live worm.
    void showGhost(bool isBlue, const GhostFrame& frame);
    // Builds the ghost graphics for the display (forced, as the race does before the start).
    void prepareGraphics();
    // Background, the drawing message to the live worm, the render queue, extra drawing (the
    // game's HUD) and the frame end.
    template <typename Hud>
    void renderFrame(Hud&& hud) {
        beginFrame();
        hud();
        endFrame();
    }
    void renderFrame() {
        renderFrame([] {});
    }

    std::vector<uint8_t> pixels() const { return display.pixels(); }
    // FNV-1a (64 bits) of the visible pixels, row by row.
    uint64_t checksum() const;
    bool writePng(const std::string& path, std::string& error) const;

    SimHost host;
    SimWorld world{host.space()};
    SimDisplay display;
    SimWorm worm;

private:
    void beginFrame();
    void endFrame();
};

}  // namespace tarvek::sim
