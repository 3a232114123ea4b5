#include "tools/tarvek-sim/race_game.h"

#include <cstring>

#include "host/host_layout.h"
#include "sim/sim_font.h"
#include "sim/sim_raster.h"
#include "sim/sim_render_queue.h"
#include "sim/sim_scene.h"
#include "tools/scenarios/race_course.h"
#include "tools/scenarios/race_screen.h"

namespace tarvek::simtool {

namespace layout = host_layout;
namespace image = host_layout::image;
using scenarios::kCourseHeight;
using scenarios::kCourseWidth;

namespace {

// The course as the player sees it: sky, and rock where the terrain is solid, darker with depth.
std::vector<uint8_t> coursePicture(const sim::Palette& palette) {
    const std::vector<uint8_t> terrain = scenarios::courseTerrainRows();
    const uint8_t sky = sim::nearestPaletteEntry(palette, 120, 160, 210);
    uint8_t rock[16];
    for (int i = 0; i < 16; ++i) rock[i] = sim::nearestPaletteEntry(palette, 150 - 4 * i, 110 - 3 * i, 70 - 2 * i);
    std::vector<uint8_t> picture(terrain.size());
    for (size_t i = 0; i < terrain.size(); ++i) picture[i] = terrain[i] ? rock[terrain[i] & 15] : sky;
    return picture;
}

}  // namespace

RaceGame::RaceGame(const scenarios::Scenario& scenario)
    : display(host, kCourseWidth, kCourseHeight), timer(host, world, display.address(), 1, 0) {
    for (const auto& change : scenario.imageChanges)
        host.space().write(host.base() + change.offset, change.bytes.data(), change.bytes.size());
    host.setSchemeTurnTime(scenario.schemeTurnTime);
    // The game's routines behind the hooked map-loader calls: their work (building the mask,
    // adding borders) is already done by placeCourse.
    host.defineHostRoutine(host.base() + image::kLoadLandDat, [](sim::SimCall&) { return 1u; });
    host.defineHostRoutine(host.base() + image::kLandscapeInitBorders, [](sim::SimCall&) { return 0u; });
    scenarios::placeCourse(host.space(), world);

    scenarios::attachRaceScreen(host.space(), world, display.address());
    course_ = coursePicture(display.palette());
    // A build of the game whose timer code differs draws its timer in a way this simulation does
    // not know: it shows none.
    drawsTimer_ = scenarios::turnTimerCodeKnown(host.space(), host.base());

    worms_.reserve(scenario.worms.size());
    for (const auto& script : scenario.worms) {
        worms_.emplace_back(host, world, script.team, script.worm);
        worms_.back().script(script.frames);
    }
}

void RaceGame::loadMap() {
    sim::SimCall load;
    load.ecx = world.landscape();
    host.executeCallSite(host.base() + image::kLoadLandDatCallSite, load);
    sim::SimCall borders;
    borders.ecx = world.landscape();
    borders.stackArguments = {0, 0, 0, 0};
    host.callCode(host.space().readU32(host.base() + image::kLandscapeInitBordersEntry), borders);
}

void RaceGame::paintCourse() {
    const sim::Canvas8 canvas = sim::surfaceCanvas(host.space(), display.address());
    for (uint32_t y = 0; y < kCourseHeight; ++y)
        std::memcpy(canvas.pixels + size_t{y} * canvas.stride, course_.data() + size_t{y} * kCourseWidth, kCourseWidth);
}

void RaceGame::drawChat() {
    // The game's chat: lines printed in the last three seconds, newest last, under the ceiling.
    const auto& prints = host.chatPrints();
    for (; chatSeen_ < prints.size(); ++chatSeen_) chat_.push_back({frame(), prints[chatSeen_].text});
    while (!chat_.empty() && (chat_.size() > 11 || chat_.front().first + 150 < frame())) chat_.erase(chat_.begin());
    const sim::Canvas8 canvas = sim::surfaceCanvas(host.space(), display.address());
    const sim::Palette palette = display.palette();
    const uint8_t ink = sim::nearestPaletteEntry(palette, 255, 255, 255), outline = sim::nearestPaletteEntry(palette, 0, 0, 0);
    int32_t y = 36;
    for (const auto& line : chat_) y += sim::drawText(canvas, 22, y, line.second, 1, ink, outline).height;
}

void RaceGame::runFrame() {
    world.setFrameCounter(world.frameCounter() + 1);
    for (sim::SimWorm& worm : worms_) worm.applyNextScriptedFrame();
    for (sim::SimWorm& worm : worms_) host.sendWormMessage(worm.address(), layout::message::kFrame);
    paintCourse();
    for (sim::SimWorm& worm : worms_) host.sendWormMessage(worm.address(), layout::message::kDraw);
    marked_ = scenarios::countMarkedCommands(host.space(), host.space().readU32(world.world() + layout::world::kRenderQueue));
    sim::runRenderQueue(host.space(), host, world.world());
    if (drawsTimer_) timer.runFrame();
    drawChat();
    sim::endDisplayFrame(host, display.address());
}

}  // namespace tarvek::simtool
