// Module paths are ANSI code-page bytes (1252 under Wine by default): files in a directory, and
// a ghost file, whose names hold bytes above 0x7F are found.
#include <gtest/gtest.h>

#include <windows.h>

#include "ghostdata/ghost_loader.h"
#include "host/settings.h"
#include "support/ghost_files.h"
#include "support/temp_dir.h"

namespace tarvek::testing {
namespace {

// Written through the system's own reading of the ANSI bytes.
void writeAnsiFile(const std::string& path, const std::string& bytes) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

TEST(AnsiModulePaths, SettingsAndGhostsInANonAsciiDirectoryAreFound) {
    TempDir root;
    const std::string directory = root.path().string() + "\\Spieler\xE4";
    ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
    writeAnsiFile(directory + "\\wkTarvek.ini", "[WorldRecordGhost]\nGoldOpacityPercent=33\n");
    EXPECT_EQ(readSettings(directory + "\\wkTarvek.dll").goldOpacityPercent, 33);

    const std::string ghost = directory + "\\Geist\xE9.tkghost";
    writeAnsiFile(ghost, encodeGhost(framesWithSegments({0, 0, 1})));
    GhostRecording recording;
    EXPECT_TRUE(loadGhostRecording(ghost, recording, "gold"));
    EXPECT_EQ(recording.frames.size(), 3u);
}

}  // namespace
}  // namespace tarvek::testing
