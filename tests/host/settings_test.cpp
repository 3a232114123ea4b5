#include <gtest/gtest.h>

#include <variant>

#include "host/settings.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

using testing::TempDir;
using Field = std::variant<bool Settings::*, int Settings::*, std::string Settings::*>;

std::string valueOf(const Settings& s, Field field) {
    return std::visit(
        [&](auto member) {
            const auto& value = s.*member;
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>) return value;
            else return std::to_string(value);
        },
        field);
}

// Every key: its default, then a written value and what it reads as after clamping.
struct KeyRow {
    const char* section;
    const char* key;
    Field field;
    const char* byDefault;
    const char* written;
    const char* reads;
};

const KeyRow kKeys[] = {
    {"General", "Enabled", &Settings::enabled, "1", "0", "0"},
    {"General", "PlayerName", &Settings::playerName, "", "  Mossy Frog  ", "Mossy Frog"},
    {"General", "LogFile", &Settings::logFile, "", "tarvek.log", "tarvek.log"},
    {"General", "PlayerAccountKey", &Settings::accountKey, "", "acc-7", "acc-7"},
    {"WorldRecordGhost", "WorldRecordGold", &Settings::worldRecordGold, "1", "2", "1"},
    {"WorldRecordGhost", "GoldColorTableIndex", &Settings::goldColorTableIndex, "4", "11", "10"},
    {"WorldRecordGhost", "GoldOpacityPercent", &Settings::goldOpacityPercent, "85", "abc", "0"},
    {"WorldRecordGhost", "GoldTintStrengthPercent", &Settings::goldTintStrengthPercent, "50", "101", "100"},
    {"WorldRecordGhost", "WorldRecordCrown", &Settings::worldRecordCrown, "1", "0", "0"},
    {"WorldRecordGhost", "CrownOffsetYPixels", &Settings::crownOffsetYPixels, "17", "65", "64"},
    {"WorldRecordGhost", "CrownRopeOffsetPixels", &Settings::crownRopeOffsetPixels, "17", "-1", "0"},
    {"WorldRecordGhost", "CrownRopeHeadShiftPixels", &Settings::crownRopeHeadShiftPixels, "4", "-40", "-16"},
    {"WorldRecordGhost", "CrownScalePercent", &Settings::crownScalePercent, "50", "10", "25"},
    {"WorldRecordGhost", "WorldRecordNameTag", &Settings::worldRecordNameTag, "1", "0", "0"},
    {"WorldRecordGhost", "NameTagOffsetYPixels", &Settings::nameTagOffsetYPixels, "19", "0", "8"},
    {"BlueGhost", "PersonalRecordBlue", &Settings::personalRecordBlue, "1", "0", "0"},
    {"BlueGhost", "BlueColorTableIndex", &Settings::blueColorTableIndex, "6", "-1", "0"},
    {"BlueGhost", "BlueOpacityPercent", &Settings::blueOpacityPercent, "78", "-5", "0"},
    {"BlueGhost", "BlueTintStrengthPercent", &Settings::blueTintStrengthPercent, "50", "70", "70"},
    {"BlueGhost", "PersonalRecordNameTag", &Settings::personalRecordNameTag, "1", "0", "0"},
    {"BlueGhost", "PersonalNameTagOffsetYPixels", &Settings::personalNameTagOffsetYPixels, "19", "99x", "64"},
    {"ProximityFade", "ProximityFadeEnabled", &Settings::proximityFadeEnabled, "1", "0", "0"},
    {"ProximityFade", "ProximityFadeStartPixels", &Settings::proximityFadeStartPixels, "72", "500", "256"},
    {"ProximityFade", "ProximityFadeFullPixels", &Settings::proximityFadeFullPixels, "14", "300", "255"},
    {"ProximityFade", "ProximityFadeMinimumOpacityPercent", &Settings::proximityFadeMinimumOpacityPercent, "15",
     "101", "100"},
    {"RaceFeedback", "EndOfTurnGapEnabled", &Settings::endOfTurnGapEnabled, "1", "0", "0"},
    {"RaceFeedback", "TurnTimerColorEnabled", &Settings::turnTimerColorEnabled, "1", "0", "0"},
};

TEST(Settings, EveryKeyHasItsDefaultAndIsReadAndClamped) {
    TempDir dir;
    const Settings defaults = readSettings(dir.file("wkTarvek.dll"));
    std::string ini, section;
    for (const KeyRow& row : kKeys) {
        EXPECT_EQ(valueOf(defaults, row.field), row.byDefault) << row.key;
        if (section != row.section) ini += "[" + (section = row.section) + "]\n";  // a repeated section is not read
        ini += std::string(row.key) + "=" + row.written + "\n";
    }
    dir.write("wkTarvek.ini", ini);
    const Settings read = readSettings(dir.file("wkTarvek.dll"));
    for (const KeyRow& row : kKeys) EXPECT_EQ(valueOf(read, row.field), row.reads) << row.key;
    EXPECT_EQ(read.moduleDirectory, dir.path().string());
    EXPECT_EQ(read.iniPath, dir.path().string() + "\\wkTarvek.ini");
    EXPECT_EQ(readSettings("wkTarvek.dll").moduleDirectory, ".");
}

TEST(Settings, FullFadeIsClampedBelowTheClampedStart) {
    TempDir dir;
    const struct {
        const char* lines;
        int start, full;
    } cases[] = {{"ProximityFadeStartPixels=0\nProximityFadeFullPixels=1\n", 1, 0},
                 {"ProximityFadeStartPixels=10\nProximityFadeFullPixels=-3\n", 10, 0},
                 {"ProximityFadeStartPixels=5\n", 5, 4}};  // the default full distance too
    for (const auto& c : cases) {
        dir.write("wkTarvek.ini", std::string("[ProximityFade]\n") + c.lines);
        const Settings s = readSettings(dir.file("wkTarvek.dll"));
        EXPECT_EQ(std::pair(s.proximityFadeStartPixels, s.proximityFadeFullPixels), std::pair(c.start, c.full)) << c.lines;
    }
    dir.write("wkTarvek.ini", "[General]\nPlayerName=" + std::string(400, 'n') + "\n");
    EXPECT_EQ(readSettings(dir.file("wkTarvek.dll")).playerName.size(), 259u);
}

}  // namespace
}  // namespace tarvek
