#include "tools/tarvek-sim/race_game.h"

#include "host/host_layout.h"
#include "tools/scenarios/race_course.h"

namespace tarvek::simtool {

namespace image = host_layout::image;

RaceGame::RaceGame(const scenarios::Scenario& scenario) {
    for (const auto& change : scenario.imageChanges)
        host.space().write(host.base() + change.offset, change.bytes.data(), change.bytes.size());
    host.setSchemeTurnTime(scenario.schemeTurnTime);
    // The game's routines behind the hooked map-loader calls: their work (building the mask,
    // adding borders) is already done by placeCourse.
    host.defineHostRoutine(host.base() + image::kLoadLandDat, [](sim::SimCall&) { return 1u; });
    host.defineHostRoutine(host.base() + image::kLandscapeInitBorders, [](sim::SimCall&) { return 0u; });
    scenarios::placeCourse(host.space(), world);
    for (const auto& worm : scenario.worms) game.addWorm(worm.team, worm.worm).script(worm.frames);
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

}  // namespace tarvek::simtool
