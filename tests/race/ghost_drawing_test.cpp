// The drawing pass on the simulated game: what reaches the render queue and the host's routines.
#include <gtest/gtest.h>

#include <vector>

#include "host/host_layout.h"
#include "race/ghost_drawing.h"
#include "sim/sim_render_queue.h"
#include "sim/sim_scene.h"

namespace tarvek {
namespace {

namespace layout = host_layout;
namespace queue = layout::render_queue;

class GhostDrawing : public ::testing::Test {
protected:
    HostAddr queueAddress() const {
        return scene.host.memory().peekU32(scene.world.world() + layout::world::kRenderQueue);
    }
    uint32_t colourEntry(uint32_t entry) const {
        return scene.host.memory().peekU32(scene.world.world() + layout::world::kColourTable + entry * 4);
    }
    void draw(const GhostFrame& frame, bool isBlue = false) {
        scene.host.clearCallRecords();
        drawGhost(scene.worm.address(), frame, isBlue);
    }

    sim::SimScene scene;
};

TEST_F(GhostDrawing, RecordedSpriteCommandsArePushedWhileTheQueueHasRoom) {
    struct Row {
        uint32_t type;
        uint32_t count;
        uint32_t freeSpace;
        bool pushed;
    };
    const Row rows[] = {
        {4, 0, queue::kCommandAreaSize, true},  {5, 0, queue::kCommandAreaSize, true},
        {6, 0, queue::kCommandAreaSize, false}, {4, queue::kMaxEntries, queue::kCommandAreaSize, false},
        {4, 5, 24, true},                       {4, 5, 23, false},
        {4, 5, queue::kCommandAreaSize + 4, false},  // a free space the area cannot have
    };
    for (const Row& row : rows) {
        sim::SimMemory& memory = scene.host.memory();
        const HostAddr address = queueAddress();
        memory.pokeU32(address + queue::kCount, row.count);
        memory.pokeU32(address + queue::kFreeSpace, row.freeSpace);
        GhostFrame frame = sim::sceneGhostFrame(100, 50);
        frame.setWord(GhostFrame::kRenderCommand, row.type);
        frame.setWord(GhostFrame::kRenderCommand + queue::kSpriteWord, 0xBEEF);
        draw(frame);
        EXPECT_EQ(scene.host.wormDraws().empty(), row.pushed) << row.type << " " << row.count << " " << row.freeSpace;
        if (!row.pushed) continue;
        const HostAddr command = sim::renderCommand(scene.host.space(), address, row.count);
        EXPECT_EQ(command, address + queue::kCommandArea + row.freeSpace - 24);
        EXPECT_EQ(memory.peekU32(command + queue::kSpriteWord), 0xBEEFu);
        EXPECT_EQ(memory.peekU32(address + queue::kFreeSpace), row.freeSpace - 24);
        EXPECT_EQ(sim::renderQueueCount(scene.host.space(), address), row.count + 1);
    }
}

TEST_F(GhostDrawing, TheGhostColourHoldsOnlyWhileItsRopeIsDrawn) {
    scene.hangLiveWormOnRope({{20, 20}});
    GhostFrame frame = sim::sceneGhostFrame(100, 50);
    sim::hangGhostOnRope(frame, 1, 0);
    const uint32_t live7 = colourEntry(7);
    const uint32_t live9 = colourEntry(9);
    struct Row {
        int goldIndex;
        uint32_t tableProtection;
        bool ropeDrawn;
        uint32_t ropeColour9;
        uint32_t ropeColour7;
    };
    const Row rows[] = {
        {4, protection::ReadWrite, true, colourEntry(4), colourEntry(4)},
        {0, protection::ReadWrite, true, live9, live7},  // index 0: the worm's own colours
        {4, protection::ReadOnly, true, live9, live7},   // cannot be changed: the worm's own colours
        {4, protection::NoAccess, false, 0, 0},          // no colours to draw a rope with
    };
    const HostAddr table = scene.world.world() + layout::world::kColourTable;
    for (const Row& row : rows) {
        settings().goldColorTableIndex = row.goldIndex;
        scene.host.memory().setProtection(table, 44, row.tableProtection);
        draw(frame);
        scene.host.memory().setProtection(table, 44, protection::ReadWrite);
        EXPECT_EQ(scene.host.wormDraws().size(), 1u);
        ASSERT_EQ(scene.host.ropeDraws().size(), row.ropeDrawn ? 1u : 0u) << row.goldIndex;
        if (row.ropeDrawn) {
            EXPECT_EQ(scene.host.ropeDraws()[0].colourEntry9, row.ropeColour9);
            EXPECT_EQ(scene.host.ropeDraws()[0].colourEntry7, row.ropeColour7);
        }
        EXPECT_EQ(colourEntry(7), live7);
        EXPECT_EQ(colourEntry(9), live9);
    }
}

TEST_F(GhostDrawing, CrownPlacementFollowsTheRopeAndItsRecordedSign) {
    GhostFrame free = sim::sceneGhostFrame(100, 50);
    free.setWord(host_layout::worm_image::kCrownAnchor - 52, 0x1234);
    GhostFrame kept = sim::sceneGhostFrame(100, 50);
    sim::hangGhostOnRope(kept, 1, 0x2000);
    GhostFrame mirrored = kept;
    mirrored.bytes[1458] = 0;
    struct Row {
        const GhostFrame* frame;
        uint32_t anchor;
        int32_t distance;
        int32_t headShift;
    };
    const Row rows[] = {{&free, 0x1234, 17, 0}, {&kept, 0x2000, 17, 4}, {&mirrored, 0u - 0x2000, 17, -4}};
    for (const Row& row : rows) {
        draw(*row.frame);
        const CrownPlacement& crown = ghostDrawState(false).crown;
        EXPECT_EQ(crown.anchor, row.anchor);
        EXPECT_EQ(crown.distance, row.distance);
        EXPECT_EQ(crown.headShift, row.headShift);
    }
}

TEST(ProximityFade, LevelByDistance) {
    Settings config;  // start 72, full 14
    struct Row {
        int32_t dx;  // pixels
        int32_t dy;
        bool fade;
        uint32_t level;
    };
    const Row rows[] = {{0, 0, true, 5},  {14, 0, true, 5},  {15, 0, true, 5}, {43, 0, true, 3},
                        {60, 40, true, 0}, {71, 0, true, 1}, {72, 0, true, 0}, {0, 0, false, 0}};
    for (const Row& row : rows) {
        config.proximityFadeEnabled = row.fade;
        EXPECT_EQ(proximityFadeLevel(config, 0, 0, row.dx * 65536, row.dy * 65536), row.level) << row.dx;
    }
}

}  // namespace
}  // namespace tarvek
