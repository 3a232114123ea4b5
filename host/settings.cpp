#include "host/settings.h"

#include <algorithm>

#include "host/module_path.h"
#include "host/private_profile.h"

namespace tarvek {
namespace {

class IniReader {
public:
    explicit IniReader(std::string path) : path_(std::move(path)) {}

    void boolean(const char* section, const char* key, bool& field) const {
        field = readProfileInt(path_, section, key, field ? 1 : 0) != 0;
    }
    void integer(const char* section, const char* key, int& field, int low, int high) const {
        field = std::clamp(readProfileInt(path_, section, key, field), low, high);
    }
    void text(const char* section, const char* key, std::string& field) const {
        // A 260-byte buffer, as the game's other path-sized texts.
        field = readProfileString(path_, section, key, "", 260);
    }

private:
    std::string path_;
};

}  // namespace

Settings readSettings(std::string_view modulePath) {
    const std::string directory = moduleDirectoryOf(modulePath);
    Settings s = readSettingsFile(joinModulePath(directory, "wkTarvek.ini"));
    s.moduleDirectory = directory;
    return s;
}

Settings readSettingsFile(const std::string& iniPath) {
    Settings s;
    s.iniPath = iniPath;
    const IniReader ini(s.iniPath);

    ini.boolean("General", "Enabled", s.enabled);
    ini.text("General", "PlayerName", s.playerName);
    ini.text("General", "LogFile", s.logFile);

    ini.boolean("WorldRecordGhost", "WorldRecordGold", s.worldRecordGold);
    ini.integer("WorldRecordGhost", "GoldColorTableIndex", s.goldColorTableIndex, 0, 10);
    ini.integer("WorldRecordGhost", "GoldOpacityPercent", s.goldOpacityPercent, 0, 100);
    ini.integer("WorldRecordGhost", "GoldTintStrengthPercent", s.goldTintStrengthPercent, 0, 100);
    ini.boolean("WorldRecordGhost", "WorldRecordCrown", s.worldRecordCrown);
    ini.integer("WorldRecordGhost", "CrownOffsetYPixels", s.crownOffsetYPixels, 0, 64);
    ini.integer("WorldRecordGhost", "CrownRopeOffsetPixels", s.crownRopeOffsetPixels, 0, 64);
    ini.integer("WorldRecordGhost", "CrownRopeHeadShiftPixels", s.crownRopeHeadShiftPixels, -16, 16);
    ini.integer("WorldRecordGhost", "CrownScalePercent", s.crownScalePercent, 25, 100);
    ini.boolean("WorldRecordGhost", "WorldRecordNameTag", s.worldRecordNameTag);
    ini.integer("WorldRecordGhost", "NameTagOffsetYPixels", s.nameTagOffsetYPixels, 8, 64);

    ini.boolean("BlueGhost", "PersonalRecordBlue", s.personalRecordBlue);
    ini.integer("BlueGhost", "BlueColorTableIndex", s.blueColorTableIndex, 0, 10);
    ini.integer("BlueGhost", "BlueOpacityPercent", s.blueOpacityPercent, 0, 100);
    ini.integer("BlueGhost", "BlueTintStrengthPercent", s.blueTintStrengthPercent, 0, 100);
    ini.boolean("BlueGhost", "PersonalRecordNameTag", s.personalRecordNameTag);
    ini.integer("BlueGhost", "PersonalNameTagOffsetYPixels", s.personalNameTagOffsetYPixels, 8, 64);

    ini.boolean("ProximityFade", "ProximityFadeEnabled", s.proximityFadeEnabled);
    ini.integer("ProximityFade", "ProximityFadeStartPixels", s.proximityFadeStartPixels, 1, 256);
    // The full-fade distance must stay below the start distance just read.
    ini.integer("ProximityFade", "ProximityFadeFullPixels", s.proximityFadeFullPixels, 0,
                s.proximityFadeStartPixels - 1);
    ini.integer("ProximityFade", "ProximityFadeMinimumOpacityPercent", s.proximityFadeMinimumOpacityPercent, 0, 100);

    ini.boolean("RaceFeedback", "EndOfTurnGapEnabled", s.endOfTurnGapEnabled);
    ini.boolean("RaceFeedback", "TurnTimerColorEnabled", s.turnTimerColorEnabled);

    // The account key has no user-facing default; it is taken from the INI when one is given.
    ini.text("General", "PlayerAccountKey", s.accountKey);
    s.goldGhostPath = joinModulePath(s.moduleDirectory, s.goldGhostFile);
    return s;
}

Settings& settings() {
    static Settings record;
    return record;
}

void loadSettings(std::string_view modulePath) { settings() = readSettings(modulePath); }

}  // namespace tarvek
