#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "host/log.h"
#include "module/startup.h"
#include "platform/win32/win32_module_platform.h"
#include "race/frame_driver.h"

namespace tarvek {
namespace {

// The real CreateThread, RegisterHotKey, GetMessage loop and foreground check, with a window of
// ours in front as the game's would be.
TEST(Win32ModulePlatform, ThreadAndHotkeyLoop) {
    win32::Win32ModulePlatform platform(GetModuleHandleW(nullptr));
    EXPECT_NE(platform.modulePath().find("tarvek_tests.exe"), std::string::npos);
    std::atomic<bool> ran{false};
    ASSERT_TRUE(platform.startThread([](void* flag) { static_cast<std::atomic<bool>*>(flag)->store(true); }, &ran));

    const HWND window = CreateWindowExA(0, "STATIC", "wkTarvek test", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    resetFrameDriver();
    CapturedLog log;
    for (const int hotkey : {kGoldHotkeyId, kBlueHotkeyId, kGoldHotkeyId})
        PostThreadMessageA(GetCurrentThreadId(), WM_HOTKEY, hotkey, 0);
    PostQuitMessage(0);
    serveHotkeys(platform);

    EXPECT_TRUE(log.lines().empty());        // both hotkeys registered
    EXPECT_TRUE(frameDriver().goldVisible);  // pressed twice
    EXPECT_FALSE(frameDriver().blueVisible);
    // Unregistered after the loop: registering again succeeds.
    EXPECT_TRUE(RegisterHotKey(nullptr, kGoldHotkeyId, MOD_CONTROL | MOD_NOREPEAT, 'G'));
    UnregisterHotKey(nullptr, kGoldHotkeyId);
    DestroyWindow(window);
    for (int wait = 0; wait < 500 && !ran; ++wait) Sleep(10);
    EXPECT_TRUE(ran);
    resetFrameDriver();
}

// Copies of the module loaded one after another: each serves its hotkeys on a fresh thread whose
// first window-system call is the registration, and is ended by WM_QUIT; every copy registers.
TEST(Win32ModulePlatform, HotkeysFreedForTheNextThread) {
    CapturedLog log;
    for (int copy = 0; copy < 3; ++copy) {
        win32::Win32ModulePlatform platform(GetModuleHandleW(nullptr));
        DWORD id = 0;
        const HANDLE thread = CreateThread(
            nullptr, 0, [](LPVOID p) -> DWORD { return serveHotkeys(*static_cast<ModulePlatform*>(p)), 0; }, &platform,
            0, &id);
        ASSERT_NE(thread, nullptr);
        for (int wait = 0; wait < 500 && !PostThreadMessageA(id, WM_NULL, 0, 0); ++wait) Sleep(10);
        PostThreadMessageA(id, WM_QUIT, 0, 0);
        EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
        CloseHandle(thread);
    }
    EXPECT_EQ(log.lines(), std::vector<std::string>{});
}

}  // namespace
}  // namespace tarvek
