#include "sim/sim_scene.h"

#include "host/host_layout.h"
#include "host/settings.h"
#include "presentation/ghost_graphics.h"
#include "race/race_state.h"
#include "sim/png_image.h"
#include "sim/sim_module.h"
#include "sim/sim_render_queue.h"

namespace tarvek::sim {
namespace {

namespace layout = host_layout;

// Where the worm image's fields come from in a ghost record (the first state block moves
// record bytes up by 52 into the image).
constexpr size_t kRecordOnRope = layout::worm_image::kOnRope - 52;
constexpr size_t kRecordRopeSegments = layout::worm_image::kRopeSegmentCount - 52;
constexpr size_t kRecordSignByte = 1458;
constexpr size_t kRecordRopeAnchor = 1460;

}  // namespace

std::vector<uint32_t> sceneColourTable(const Palette& palette) {
    const int colours[layout::world::kColourTableEntries][3] = {
        {0, 0, 0},     {230, 40, 40},  {40, 80, 230},   {40, 200, 60}, {250, 210, 40}, {220, 60, 220},
        {60, 220, 230}, {230, 230, 230}, {250, 140, 30}, {140, 90, 40}, {150, 150, 150}};
    std::vector<uint32_t> table;
    for (const auto& rgb : colours) table.push_back(nearestPaletteEntry(palette, rgb[0], rgb[1], rgb[2]));
    return table;
}

GhostFrame sceneGhostFrame(int32_t x, int32_t y) {
    GhostFrame frame;
    frame.setWord(GhostFrame::kPositionX, static_cast<uint32_t>(fixedPixels(x)));
    frame.setWord(GhostFrame::kPositionY, static_cast<uint32_t>(fixedPixels(y)));
    return frame;
}

void hangGhostOnRope(GhostFrame& frame, uint32_t segments, uint32_t anchor) {
    frame.setWord(kRecordOnRope, 1);
    frame.setWord(kRecordRopeSegments, segments);
    frame.setWord(kRecordRopeAnchor, anchor);
    frame.bytes[kRecordSignByte] |= 1u << 2;
}

SimScene::SimScene(uint32_t width, uint32_t height, bool withModule)
    : display(host, width, height), worm(host, world, 1, 1) {
    resetModuleRaceState();
    if (withModule) {
        installFrameDriver(host);
        installDisplayHooks(host);
        installTurnTimerHooks(host);
    }
    world.setFeedbackGates(0, 0);
    world.setWatchedPointer(display.address());
    attachRenderQueue(host.space(), world.world());
    usePalette(display.palette());
    placeLiveWorm(static_cast<int32_t>(width / 2), static_cast<int32_t>(height / 2));
    // The frame driver meets the world and the display it draws on.
    host.sendWormMessage(worm.address(), layout::message::kFrame);
    settings().worldRecordPlayerName = "Champion";
    settings().personalRecordPlayerName = "Rival";
}

SimScene::~SimScene() { resetModuleRaceState(); }

void SimScene::usePalette(const Palette& palette) {
    display.setPalette(palette);
    const std::vector<uint32_t> colours = sceneColourTable(palette);
    host.space().write(world.world() + layout::world::kColourTable, colours.data(), colours.size() * 4);
}

void SimScene::placeLiveWorm(int32_t x, int32_t y) { worm.setPosition(fixedPixels(x), fixedPixels(y)); }

void SimScene::hangLiveWormOnRope(const std::vector<PixelPoint>& anchors) {
    namespace image = layout::worm_image;
    AddressSpace& space = host.space();
    const HostAddr data = worm.address() + image::kLiveRopeData;
    for (size_t i = 0; i < anchors.size(); ++i) {
        space.writeI32(data + static_cast<uint32_t>(i) * 8, fixedPixels(anchors[i].first));
        space.writeI32(data + static_cast<uint32_t>(i) * 8 + 4, fixedPixels(anchors[i].second));
    }
    space.writeU32(worm.address() + image::kOnRope, anchors.empty() ? 0 : 1);
    space.writeU32(worm.address() + image::kRopeSegmentCount, static_cast<uint32_t>(anchors.size()));
    space.writeU32(worm.address() + image::kRopeData, data);
}

void SimScene::showGhost(bool isBlue, const GhostFrame& frame) {
    GhostRecording& slot = isBlue ? blueGhost() : goldGhost();
    slot = GhostRecording{};
    slot.frames = {frame};
    slot.segments = {TurnSegment{0, 1}};
    slot.movementStart = {1};
    RaceState& race = raceState();
    race.raceWorm = worm.address();
    race.slots[isBlue ? kBlueSlot : kGoldSlot].currentFrame = &slot.frames.front();
}

void SimScene::prepareGraphics() { prepareGhostGraphics(world.world(), true); }

void SimScene::beginFrame() {
    display.paintBackground();
    host.sendWormMessage(worm.address(), layout::message::kDraw);
    runRenderQueue(host.space(), host, world.world());
}

void SimScene::endFrame() { endDisplayFrame(host, display.address()); }

uint64_t SimScene::checksum() const {
    uint64_t hash = 0xCBF29CE484222325ull;
    for (const uint8_t pixel : display.pixels()) hash = (hash ^ pixel) * 0x100000001B3ull;
    return hash;
}

bool SimScene::writePng(const std::string& path, std::string& error) const {
    return writePalettePng(path, display.width(), display.height(), display.pixels(), display.palette(), error);
}

}  // namespace tarvek::sim
