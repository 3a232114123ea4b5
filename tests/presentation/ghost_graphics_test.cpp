#include <gtest/gtest.h>

#include "host/host_layout.h"
#include "host/log.h"
#include "presentation/ghost_graphics.h"
#include "race/frame_driver.h"
#include "race/race_state.h"
#include "race/race_type.h"
#include "support/palettes.h"
#include "support/race_host.h"

namespace tarvek {
namespace {

class GhostGraphicsUpkeep : public testing::RaceHostTest {
protected:
    GhostGraphicsUpkeep() {
        world.setWatchedPointer(display);
        frameDriver().lastWatchedPointer = display;
        setPalette(testing::randomPalette(3));
        goldGhost().frames.resize(1);
        blueGhost().frames.resize(1);
    }
    void setPalette(const Palette& palette) {
        host.memory().poke(display + host_layout::display::kPalette, palette.bytes.data(), kPaletteBytes);
    }
    void prepare(bool force = false) { prepareGhostGraphics(world.world(), force); }

    HostAddr display = host.space().allocate(host_layout::display::kPalette + kPaletteBytes);
    CapturedLog log;
};

TEST_F(GhostGraphicsUpkeep, BuildsOnceAndAgainOncePerPaletteChange) {
    const std::vector<std::string> once = {
        "built 6 native-quality gold opacity levels for world-record ghost (85% to 15%)",
        "built 6 native-quality ice-blue opacity levels for personal-record ghost (78% to 15%)"};
    prepare();
    prepare();
    EXPECT_EQ(log.lines(), once);
    EXPECT_TRUE(ghostGraphics(false).builtFor(display) && ghostGraphicsCache().crown.builtFor(display));
    const OpacityTable before = *ghostGraphics(true).levelTable(0);

    host.memory().pokeU8(display + host_layout::display::kPalette + 3, 0x7F);  // a flags byte only
    prepare();
    EXPECT_EQ(log.lines().size(), 2u);

    setPalette(testing::randomPalette(4));
    prepare();
    prepare();
    EXPECT_EQ(log.lines().size(), 4u);
    EXPECT_NE(*ghostGraphics(true).levelTable(0), before);
    dropCrownAndNameTags();  // new ghosts in the slots: the tables stay, the crown comes back
    prepare();
    EXPECT_TRUE(ghostGraphicsCache().crown.builtFor(display));
    EXPECT_EQ(ghostGraphics(true).levelTable(9), ghostGraphics(true).levelTable(5));

    frameDriver().graphicsRebuildNeeded = true;  // the display holder changed
    raceState().raceStarted = true;
    prepare();
    EXPECT_EQ(log.lines().size(), 4u);  // not while racing
    prepare(true);
    EXPECT_EQ(log.lines().size(), 6u);
    EXPECT_FALSE(frameDriver().graphicsRebuildNeeded);
}

TEST_F(GhostGraphicsUpkeep, OnlyForTheRecordedDisplayAndLoadedGhosts) {
    frameDriver().lastWatchedPointer = display + 0x1000;
    prepare();
    EXPECT_TRUE(log.lines().empty());

    frameDriver().lastWatchedPointer = display;
    blueGhost() = GhostRecording{};
    raceType().isBungeeRace = true;  // no crown on BungeeRace maps
    prepare();
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_FALSE(ghostGraphics(true).builtFor(display) || ghostGraphicsCache().crown.builtFor(display));

    host.memory().setProtection(display, 0x4000, protection::NoAccess);
    blueGhost().frames.resize(1);
    prepare();  // an unreadable palette postpones the build
    EXPECT_EQ(log.lines().size(), 1u);
}

}  // namespace
}  // namespace tarvek
