// The turn timer's colours through its three hooked call sites on the simulated game.
#include <gtest/gtest.h>

#include "host/host_layout.h"
#include "host/settings.h"
#include "race/frame_driver.h"
#include "race/race_state.h"
#include "race/race_type.h"
#include "sim/sim_scene.h"
#include "sim/sim_timer.h"

namespace tarvek {
namespace {

namespace layout = host_layout;

TEST(TurnTimer, ColoursFollowTheRaceState) {
    struct Row {
        uint32_t state;
        bool bigRR;
        bool enabled;
        bool feedback;
        uint32_t selector;     // what the host's renderer is asked for
        uint32_t boxEntry;     // colour-table entry the team's box is drawn in
        bool greenDigits;
    };
    const Row rows[] = {
        {0, false, true, true, 7, 5, false},  {1, false, true, true, 8, 3, true},
        {2, false, true, true, 8, 1, false},  {3, false, true, true, 7, 5, false},
        {1, true, true, true, 7, 3, false},   {1, false, false, true, 7, 5, false},
        {2, false, true, false, 7, 5, false},
    };
    for (const Row& row : rows) {
        sim::SimScene scene;
        sim::SimTurnTimer timer(scene.host, scene.world, scene.display.address(), 2, 4);  // team 2, colour entry 5
        raceType().isBigRR = row.bigRR;
        settings().turnTimerColorEnabled = row.enabled;
        frameDriver().feedbackAllowed = row.feedback;
        raceState().turnTimerColour = row.state;
        const uint32_t entry5 = scene.host.memory().peekU32(scene.world.world() + layout::world::kColourTable + 20);
        timer.runFrame();
        const uint32_t redraws = timer.redraws();
        timer.runFrame();
        EXPECT_EQ(timer.redraws(), redraws) << "one redraw request per change";
        EXPECT_EQ(timer.renderedColourSelector(), row.selector) << row.state;
        EXPECT_EQ(timer.lastBoxColour(),
                  scene.host.memory().peekU32(scene.world.world() + layout::world::kColourTable + row.boxEntry * 4));
        EXPECT_EQ(scene.host.memory().peekU32(scene.world.world() + layout::world::kColourTable + 20), entry5);
        const HostAddr bitmap = scene.host.memory().peekU32(timer.renderer() + 0x120);
        const uint8_t ink = static_cast<uint8_t>(scene.host.memory().peekU32(
            scene.host.memory().peekU32(bitmap + layout::bitmap::kPixels) + 9 * 64 + 27));
        const sim::Palette palette = scene.display.palette();
        const bool green = palette[ink * 4 + 1] > palette[ink * 4] && palette[ink * 4 + 1] > palette[ink * 4 + 2];
        EXPECT_EQ(green, row.greenDigits) << row.state;
    }
}

TEST(TurnTimer, AskForARedrawWhenTheStateChanges) {
    sim::SimScene scene;
    sim::SimTurnTimer timer(scene.host, scene.world, scene.display.address(), 1, 0);
    const uint32_t states[] = {0, 0, 1, 1, 2, 0};
    const uint32_t redraws[] = {1, 1, 2, 2, 3, 4};
    for (size_t i = 0; i < 6; ++i) {
        raceState().turnTimerColour = states[i];
        timer.runFrame();
        EXPECT_EQ(timer.redraws(), redraws[i]) << i;
    }
}

}  // namespace
}  // namespace tarvek
