#pragma once
// The module's user settings (wkTarvek.ini beside the module) and the fixed defaults that other
// subsystems read from the same record.
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvek {

inline constexpr const char* kDefaultApiOrigin = "https://ghosts.tarvek.net";

struct Settings {
    // [General]
    bool enabled = true;
    std::string playerName;
    std::string logFile;  // a log file beside the module; empty: log lines are discarded
    // [WorldRecordGhost]
    bool worldRecordGold = true;
    int goldColorTableIndex = 4;
    int goldOpacityPercent = 85;
    int goldTintStrengthPercent = 50;
    bool worldRecordCrown = true;
    int crownOffsetYPixels = 17;
    int crownRopeOffsetPixels = 17;
    int crownRopeHeadShiftPixels = 4;
    int crownScalePercent = 50;
    bool worldRecordNameTag = true;
    int nameTagOffsetYPixels = 19;
    // [BlueGhost]
    bool personalRecordBlue = true;
    int blueColorTableIndex = 6;
    int blueOpacityPercent = 78;
    int blueTintStrengthPercent = 50;
    bool personalRecordNameTag = true;
    int personalNameTagOffsetYPixels = 19;
    // [ProximityFade]
    bool proximityFadeEnabled = true;
    int proximityFadeStartPixels = 72;
    int proximityFadeFullPixels = 14;
    int proximityFadeMinimumOpacityPercent = 15;
    // [RaceFeedback]
    bool endOfTurnGapEnabled = true;
    bool turnTimerColorEnabled = true;

    // Fixed fields: not user settings, but defaults the map selection and the sync use.
    bool isBigRRAtWorldStart = false;
    bool isBungeeRaceDefault = false;
    std::string localMapCatalogFile = "wkTarvek.maps.ini";
    std::string apiOrigin = kDefaultApiOrigin;
    std::string seasonKey = "current";
    std::string remoteCatalogFile = "wkTarvek.remote.ini";
    int challengeNumber = 951;
    std::string goldGhostFile = "wkTarvek.challenge-951.tkghost";
    std::string personalGhostFile = "wkTarvek.personal-mossyfrog51.tkghost";
    // Written by each map selection beside the two ghost files.
    std::string worldRecordPlayerName;
    std::string personalRecordPlayerName;
    bool personalRecordSet = false;
    std::string goldGhostPath;  // module directory joined with goldGhostFile
    std::string accountKey;  // read from [General] PlayerAccountKey; empty by default
    uint32_t connectTimeoutMs = 5000;  // resolve, connect and send
    uint32_t receiveTimeoutMs = 30000;
    bool allowPlainHttp = false;
    uint32_t ghostSpriteFlags = 0x04000000;

    std::string moduleDirectory = ".";
    std::string iniPath = "wkTarvek.ini";
};

// Reads the settings of the module whose file path is modulePath: defaults, then every key of the
// INI beside it, each clamped into its range.
Settings readSettings(std::string_view modulePath);
// The same from an INI file named directly (the tools' --settings).
Settings readSettingsFile(const std::string& iniPath);

// The module-wide record. Written by the init thread (loadSettings) and, for the race fields of
// the current map, by the map selection; read everywhere else.
Settings& settings();
void loadSettings(std::string_view modulePath);

}  // namespace tarvek
