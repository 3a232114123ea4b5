// Whole frames drawn by the simulated game with the module's hooks in place: the 8-bit surface
// must come out byte for byte as recorded. Each frame is also written as PNG for a person to see.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "presentation/gap_message.h"
#include "race/frame_driver.h"
#include "race/race_state.h"
#include "sim/sim_scene.h"
#include "sim/sim_timer.h"

namespace tarvek {
namespace {

void keepFrame(const sim::SimScene& scene, const std::string& name) {
    const std::filesystem::path dir = TARVEK_FRAME_DIR;
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    std::string error;
    if (!scene.writePng((dir / (name + ".png")).string(), error)) std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
}

struct GoldenFrame {
    const char* name;
    uint64_t checksum;
};

class GoldenFrames : public ::testing::Test {
protected:
    sim::SimScene scene{480, 200};

    // The live worm hangs from two anchors; the ghost hangs from the same ones at (200, 110).
    void ropeScene(int32_t liveX) {
        scene.hangLiveWormOnRope({{90, 20}, {250, 30}});
        scene.placeLiveWorm(liveX, 110);
        GhostFrame ghost = sim::sceneGhostFrame(200, 110);
        sim::hangGhostOnRope(ghost, 2, 0x1800);
        scene.showGhost(false, ghost);
        scene.prepareGraphics();
    }
    void check(const GoldenFrame& expected) {
        keepFrame(scene, expected.name);
        EXPECT_EQ(scene.checksum(), expected.checksum) << expected.name << std::hex << " 0x" << scene.checksum();
    }
};

TEST_F(GoldenFrames, GoldGhostWithCrownOnARopeAtLevelZero) {
    ropeScene(330);  // 130 px away: level 0
    scene.renderFrame();
    check({"gold-rope-level0", 0x170902992f5bed41});
}

TEST_F(GoldenFrames, GoldGhostWithCrownOnARopeAtLevelFive) {
    ropeScene(210);  // 10 px away: level 5
    scene.renderFrame();
    check({"gold-rope-level5", 0x69a9a122ab192e63});
}

TEST_F(GoldenFrames, BlueGhostWithItsNameTag) {
    scene.showGhost(true, sim::sceneGhostFrame(140, 90));  // 100 px from the live worm
    scene.prepareGraphics();
    scene.renderFrame();
    check({"blue-tag", 0x23304df9563e09f2});
}

TEST_F(GoldenFrames, GapMessage) {
    scene.showGhost(false, sim::sceneGhostFrame(140, 90));
    scene.prepareGraphics();
    gapMessageBoard().post("WR 0.36s AHEAD  |  BLUE 1.02s BEHIND", 1, scene.world.world(), scene.display.address(),
                           millisecondTick());
    scene.renderFrame();
    check({"gap-message", 0xf9262a57bf728aba});
}

TEST_F(GoldenFrames, TurnTimerAheadAndBehind) {
    sim::SimTurnTimer timer(scene.host, scene.world, scene.display.address(), 1, 0);
    timer.setSeconds(17);
    for (const auto& [state, expected] : {std::pair{1u, GoldenFrame{"timer-ahead", 0xaf529bb670589df9}}, {2u, GoldenFrame{"timer-behind", 0x21b08eb73bed7e7d}}}) {
        raceState().turnTimerColour = state;
        scene.renderFrame([&] { timer.runFrame(); });
        check(expected);
    }
}

}  // namespace
}  // namespace tarvek
