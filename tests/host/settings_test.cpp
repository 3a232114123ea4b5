#include <gtest/gtest.h>

#include "host/settings.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

using testing::TempDir;

Settings settingsFrom(const TempDir& dir, std::string_view ini) {
    dir.write("wkTarvek.ini", ini);
    return readSettings(dir.file("wkTarvek.dll"));
}

TEST(Settings, DefaultsWithoutFileAndModuleDirectory) {
    TempDir dir;
    const Settings s = readSettings(dir.file("wkTarvek.dll"));
    EXPECT_EQ(s.moduleDirectory, dir.path().string());
    EXPECT_EQ(s.iniPath, dir.path().string() + "\\wkTarvek.ini");
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.playerName, "");
    EXPECT_EQ(s.goldColorTableIndex, 4);
    EXPECT_EQ(s.goldOpacityPercent, 85);
    EXPECT_EQ(s.blueOpacityPercent, 78);
    EXPECT_EQ(s.blueColorTableIndex, 6);
    EXPECT_EQ(s.crownScalePercent, 50);
    EXPECT_EQ(s.proximityFadeStartPixels, 72);
    EXPECT_EQ(s.proximityFadeFullPixels, 14);
    EXPECT_EQ(s.proximityFadeMinimumOpacityPercent, 15);
    EXPECT_EQ(s.seasonKey, "current");
    EXPECT_EQ(s.goldGhostFile, "wkTarvek.challenge-951.tkghost");
    EXPECT_EQ(s.challengeNumber, 951);
    EXPECT_EQ(s.connectTimeoutMs, 5000u);
    EXPECT_EQ(s.receiveTimeoutMs, 30000u);
    EXPECT_FALSE(s.allowPlainHttp);
    EXPECT_EQ(s.ghostSpriteFlags, 0x04000000u);
    EXPECT_EQ(readSettings("wkTarvek.dll").moduleDirectory, ".");
}

TEST(Settings, ValuesAreClampedIntoTheirRanges) {
    TempDir dir;
    const Settings s = settingsFrom(dir,
                                    "[WorldRecordGhost]\n"
                                    "CrownScalePercent=10\nCrownRopeHeadShiftPixels=-40\nNameTagOffsetYPixels=0\n"
                                    "GoldColorTableIndex=11\nWorldRecordGold=2\nGoldOpacityPercent=abc\n"
                                    "CrownOffsetYPixels=65\n"
                                    "[BlueGhost]\nBlueOpacityPercent=-5\nPersonalNameTagOffsetYPixels=99x\n"
                                    "[General]\nEnabled=0\nPlayerName=  Mossy Frog  \n");
    EXPECT_EQ(s.crownScalePercent, 25);
    EXPECT_EQ(s.crownRopeHeadShiftPixels, -16);
    EXPECT_EQ(s.nameTagOffsetYPixels, 8);
    EXPECT_EQ(s.goldColorTableIndex, 10);
    EXPECT_TRUE(s.worldRecordGold);
    EXPECT_EQ(s.goldOpacityPercent, 0);  // no number reads 0
    EXPECT_EQ(s.crownOffsetYPixels, 64);
    EXPECT_EQ(s.blueOpacityPercent, 0);
    EXPECT_EQ(s.personalNameTagOffsetYPixels, 64);
    EXPECT_FALSE(s.enabled);
    EXPECT_EQ(s.playerName, "Mossy Frog");
}

TEST(Settings, FullFadeIsClampedBelowTheClampedStart) {
    TempDir dir;
    Settings s = settingsFrom(dir, "[ProximityFade]\nProximityFadeStartPixels=0\nProximityFadeFullPixels=1\n");
    EXPECT_EQ(s.proximityFadeStartPixels, 1);
    EXPECT_EQ(s.proximityFadeFullPixels, 0);

    s = settingsFrom(dir, "[ProximityFade]\nProximityFadeStartPixels=500\nProximityFadeFullPixels=300\n");
    EXPECT_EQ(s.proximityFadeStartPixels, 256);
    EXPECT_EQ(s.proximityFadeFullPixels, 255);

    s = settingsFrom(dir, "[ProximityFade]\nProximityFadeStartPixels=10\nProximityFadeFullPixels=-3\n");
    EXPECT_EQ(s.proximityFadeFullPixels, 0);

    // The default full distance (14) is clamped by a smaller start even when not set itself.
    s = settingsFrom(dir, "[ProximityFade]\nProximityFadeStartPixels=5\n");
    EXPECT_EQ(s.proximityFadeFullPixels, 4);
}

TEST(Settings, PlayerNameIsCutTo259Bytes) {
    TempDir dir;
    const Settings s = settingsFrom(dir, "[General]\nPlayerName=" + std::string(400, 'n') + "\n");
    EXPECT_EQ(s.playerName.size(), 259u);
}

}  // namespace
}  // namespace tarvek
