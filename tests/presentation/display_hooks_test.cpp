// The display hooks in the simulated display's class table, chained to recording routines where
// a test needs to see exactly what reaches the host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "host/host_layout.h"
#include "host/log.h"
#include "module/hook_routines.h"
#include "presentation/display_hooks.h"
#include "presentation/ghost_graphics.h"
#include "presentation/name_tags.h"
#include "presentation/render_tags.h"
#include "presentation/tile_set.h"
#include "race/race_type.h"
#include "sim/sim_render_queue.h"
#include "sim/sim_scene.h"

namespace tarvek {
namespace {

namespace layout = host_layout;

struct SeenCall {
    uint32_t colour = 0;
    uint32_t last = 0;  // width of a wide line, flags of a sprite
    bool tableSwapped = false;
};

class DisplayHooks : public ::testing::Test {
protected:
    DisplayHooks() {
        scene.showGhost(false, sim::sceneGhostFrame(60, 60));
        scene.prepareGraphics();
        DisplayHookTargets& targets = displayHookTargets();
        targets.thinLine = scene.host.registerRoutine(
            &sim::SimRoutines::thinLine, {[this](HostAddr, int32_t, int32_t, int32_t, int32_t, uint32_t colour) {
                seen.push_back({colour, colour, false});
                return 7u;
            }});
        targets.wideLine = scene.host.registerRoutine(
            &sim::SimRoutines::wideLine,
            {[this](HostAddr, int32_t, int32_t, int32_t, int32_t, uint32_t colour, uint32_t width) {
                seen.push_back({colour, width, false});
                return 7u;
            }});
        targets.sprite = scene.host.registerRoutine(
            &sim::SimRoutines::sprite, {[this](HostAddr, int32_t, int32_t, uint32_t flags, uint32_t) {
                seen.push_back({0, flags, hostTableIsLevelTable()});
                return 7u;
            }});
    }
    bool hostTableIsLevelTable() const {
        std::vector<uint8_t> table(layout::display::kTranslucencyTableSize);
        scene.host.memory().peek(display() + layout::display::kTranslucencyTable, table.data(), table.size());
        return std::memcmp(table.data(), ghostGraphics(false).levelTable(0)->data(), table.size()) == 0;
    }
    HostAddr display() const { return scene.display.address(); }
    uint32_t goldTag(uint8_t colour, uint32_t segments, uint32_t polyline) const {
        return encodeLineTag(LineTag{colour, 0, false, segments, polyline});
    }

    sim::SimScene scene;
    std::vector<SeenCall> seen;
};

TEST(RenderTags, TagWordBits) {
    struct Row {
        LineTag tag;
        uint32_t word;
    };
    const Row rows[] = {
        {{0x37, 0, false, 1, 0}, 0xA5000037},
        {{0x37, 5, true, 64, 0}, 0xA50B3F37},
        {{0x01, 3, false, 2, 5}, 0xA5164101},
        {{0xFF, 2, true, 64, 63}, 0xA5F5FFFF},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(encodeLineTag(row.tag), row.word) << std::hex << row.word;
        EXPECT_EQ(encodeLineTag(decodeLineTag(row.word)), row.word) << std::hex << row.word;
    }
}

TEST_F(DisplayHooks, MarksOnlyTheNewCommandsByGhostAndPass) {
    const HostAddr queue = scene.host.memory().peekU32(scene.world.world() + layout::world::kRenderQueue);
    sim::AddressSpace& space = scene.host.space();
    const sim::SimMemory& memory = scene.host.memory();
    auto push = [&](const std::vector<uint8_t>& command) { sim::pushRenderCommand(space, queue, command); };
    push(sim::spriteCommand(4, 0, 0, 1, 0x10));          // before the first new index
    push(sim::spriteCommand(5, 0, 0, 1, 0x10));          // 1
    push(sim::thinLineCommand(0x21, {{0, 0}}));          // 2: one point, no line to tag
    push(sim::thinLineCommand(0x22, {{0, 0}, {1, 1}}));  // 3: polyline 0
    push(sim::wideLineCommand(0x23, 2, {{0, 0}, {1, 1}, {2, 2}}));  // 4: polyline 1, both colour words
    settings().personalRecordNameTag = true;
    markGhostCommands(queue, 1, true, true, 9);
    auto word = [&](uint32_t index, uint32_t offset) { return memory.peekU32(sim::renderCommand(space, queue, index) + offset); };
    EXPECT_EQ(word(0, layout::render_queue::kSpriteFlags), 0x10u);
    EXPECT_EQ(word(1, layout::render_queue::kSpriteFlags), 0x10u | 0x04000000 | 0x00200000 | 0x40000000);
    EXPECT_EQ(word(2, layout::render_queue::kLineColour), 0x21u);
    EXPECT_EQ(word(3, layout::render_queue::kLineColour), encodeLineTag({0x22, 5, true, 1, 0}));
    EXPECT_EQ(word(4, layout::render_queue::kLineColour), encodeLineTag({0x23, 5, true, 2, 1}));
    EXPECT_EQ(word(4, layout::render_queue::kLineColourRepeat), encodeLineTag({0x23, 5, true, 2, 1}));

    // An opaque gold ghost: no translucency, no tags, but the crown still rides on its body.
    sim::clearRenderQueue(space, queue);
    push(sim::spriteCommand(4, 0, 0, 1, 0));
    push(sim::thinLineCommand(0x22, {{0, 0}, {1, 1}}));
    settings().goldOpacityPercent = 100;
    settings().worldRecordGold = false;
    settings().proximityFadeEnabled = false;
    raceType().isBungeeRace = true;  // no crown on these maps, but the tag still asks for the mark
    markGhostCommands(queue, 0, false, true, 0);
    EXPECT_EQ(word(0, layout::render_queue::kSpriteFlags), 0x80000000u);
    EXPECT_EQ(word(1, layout::render_queue::kLineColour), 0x22u);
}

TEST_F(DisplayHooks, LinesReachTheHostUntouchedPlainOrBatched) {
    struct Row {
        uint32_t colour;
        bool wide;
        uint32_t expectedColour;
        uint32_t result;  // the host's, or 0 for a line the batch took over
    };
    const Row rows[] = {
        {0x12345678, false, 0x12345678, 7},                      // not a tag: byte for byte
        {0xA4FFFF78, true, 0xA4FFFF78, 7},                       // close, but not the tag byte
        {encodeLineTag({0x78, 0, true, 1, 0}), false, 0x78, 7},  // blue tables not built: colour alone
        {encodeLineTag({0x78, 0, false, 1, 0}), true, 0x78, 0},  // gold, one segment: batched and flushed
    };
    for (const Row& row : rows) {
        seen.clear();
        const uint32_t result = row.wide ? onDisplayWideLine(display(), 1, 2, 3, 4, row.colour, 0x3303)
                                         : onDisplayThinLine(display(), 1, 2, 3, 4, row.colour);
        ASSERT_EQ(seen.size(), 1u) << std::hex << row.colour;
        EXPECT_EQ(seen[0].colour, row.expectedColour);
        if (row.wide) {
            EXPECT_EQ(seen[0].last, isLineTag(row.colour) ? 0x03u : 0x3303u);
        }
        EXPECT_EQ(result, row.result);
    }
}

// The routines the DLL's thunks enter get the host's stack arguments in the host's order.
TEST_F(DisplayHooks, HookRoutineRowsTakeTheHostArgumentsInOrder) {
    const HookRoutines& routines = moduleHookRoutines();
    uint32_t wide[] = {1, 2, 3, 4, 0x12345678, 0x3303};
    uint32_t thin[] = {1, 2, 3, 4, 0x12345679};
    uint32_t sprite[] = {0, 0, 0x00000002, 1};
    EXPECT_EQ(routines.displayLine6(display(), wide), 7u);
    EXPECT_EQ(routines.displayLine5(display(), thin), 7u);
    EXPECT_EQ(routines.displaySprite(display(), sprite), 7u);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].colour, 0x12345678u);
    EXPECT_EQ(seen[0].last, 0x3303u);
    EXPECT_EQ(seen[1].colour, 0x12345679u);
    EXPECT_EQ(seen[2].last, 0x00000002u);
}

TEST_F(DisplayHooks, APolylineOfSixtySixPointsSplitsItsBatch) {
    const uint32_t tag = goldTag(0x40, 64, 0);
    for (int i = 0; i < 63; ++i) onDisplayThinLine(display(), i << 16, 0, (i + 1) << 16, 0, tag);
    EXPECT_TRUE(seen.empty());
    onDisplayThinLine(display(), 63 << 16, 0, 64 << 16, 0, tag);
    EXPECT_EQ(seen.size(), 64u);  // the first 64 segments together
    onDisplayThinLine(display(), 64 << 16, 0, 65 << 16, 0, tag);
    EXPECT_EQ(seen.size(), 64u);  // the 65th waits
    onDisplaySprite(display(), 0, 0, 0, 1);
    ASSERT_EQ(seen.size(), 66u);  // flushed by the next draw call, ahead of it
    EXPECT_EQ(seen[64].colour, 0x40u);

    // Another polyline number is another batch.
    seen.clear();
    onDisplayThinLine(display(), 0, 0, 1 << 16, 0, goldTag(0x40, 3, 0));
    onDisplayThinLine(display(), 0, 0, 1 << 16, 0, goldTag(0x40, 3, 1));
    EXPECT_EQ(seen.size(), 1u);
    onDisplayOverlay(display());  // the frame's end draws what still waits
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(DisplayHooks, SpritesDrawThroughTheLevelTableOnlyWhileTheHostTableCanBeSwapped) {
    const HostAddr table = display() + layout::display::kTranslucencyTable;
    std::vector<uint8_t> hostTable(layout::display::kTranslucencyTableSize);
    scene.host.memory().peek(table, hostTable.data(), hostTable.size());
    struct Row {
        uint32_t flags;
        bool readOnlyTable;
        uint32_t hostFlags;
        bool swapped;
    };
    const Row rows[] = {
        {0x00000002, false, 0x00000002, false},
        {0x00100002, false, 0x04000002, true},
        {0x80000002, false, 0x00000002, false},
        {0x00100002, true, 0x04000002, false},  // the host's own translucency instead
    };
    for (const Row& row : rows) {
        seen.clear();
        scene.host.memory().setProtection(table, layout::display::kTranslucencyTableSize,
                                          row.readOnlyTable ? protection::ReadOnly : protection::ReadWrite);
        EXPECT_EQ(onDisplaySprite(display(), 0, 0, row.flags, 1), 7u);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].last, row.hostFlags) << std::hex << row.flags;
        EXPECT_EQ(seen[0].tableSwapped, row.swapped) << std::hex << row.flags;
        std::vector<uint8_t> after(hostTable.size());
        scene.host.memory().peek(table, after.data(), after.size());
        EXPECT_EQ(after, hostTable);
    }
}

TEST(TileSnapshots, LinesNeedingMoreThan1600TilesAreDrawnOpaque) {
    sim::SimScene scene(1024, 512);  // 2048 tiles
    scene.showGhost(false, sim::sceneGhostFrame(60, 60));
    scene.prepareGraphics();
    scene.display.paintBackground();
    const std::vector<uint8_t> background = scene.pixels();
    const uint8_t colour = 200;
    onDisplayThinLine(scene.display.address(), 10 << 16, 10 << 16, 40 << 16, 10 << 16,
                      encodeLineTag({colour, 0, false, 1, 0}));
    onDisplayThinLine(scene.display.address(), 0, 0, 1023 << 16, 511 << 16, encodeLineTag({colour, 0, false, 1, 1}));
    const std::vector<uint8_t> frame = scene.pixels();
    const OpacityTable& level = *ghostGraphics(false).levelTable(0);
    EXPECT_EQ(frame[10 * 1024 + 25], level[size_t{background[10 * 1024 + 25]} * 256 + colour]);
    EXPECT_NE(frame[10 * 1024 + 25], colour);
    EXPECT_GE(std::count(frame.begin(), frame.end(), colour), 1024);  // the diagonal, opaque
}

TEST(TileSnapshots, EachTileOncePerFlushInTheStatedSlot) {
    TileSet set;
    set.beginFlush();
    EXPECT_EQ(TileSet::slotOf(3, 5), ((3u ^ 2u) * 0xA87u) % 4096);
    EXPECT_EQ(set.insert(3, 5), TileSet::Insert::Added);
    EXPECT_EQ(set.insert(3, 5), TileSet::Insert::Present);
    EXPECT_EQ(set.insert(1, 0), TileSet::Insert::Added);  // 1 ^ 0 collides with 3 ^ (5 / 2)
    set.beginFlush();
    EXPECT_EQ(set.insert(3, 5), TileSet::Insert::Added);
}

TEST(NameTags, PreparedOnceThroughTheHostFontAndLogged) {
    CapturedLog log;
    sim::SimScene scene;
    settings().personalRecordPlayerName.clear();
    scene.showGhost(false, sim::sceneGhostFrame(60, 60));
    scene.showGhost(true, sim::sceneGhostFrame(90, 60));
    auto tagLines = [&] {
        const std::vector<std::string> lines = log.lines();
        return std::count_if(lines.begin(), lines.end(),
                             [](const std::string& line) { return line.find("name tag") != std::string::npos; });
    };
    scene.prepareGraphics();
    scene.prepareGraphics();
    EXPECT_EQ(tagLines(), 1);
    EXPECT_TRUE(log.contains("prepared native-font WR name tag 'Champion' (49x9)"));
    dropCrownAndNameTags();  // the slots emptied: the tag goes and the next preparation renders it again
    EXPECT_FALSE(nameTagCache(false).built);
    scene.prepareGraphics();
    EXPECT_EQ(tagLines(), 2);
}

}  // namespace
}  // namespace tarvek
