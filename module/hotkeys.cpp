#include <string>

#include "host/log.h"
#include "module/startup.h"
#include "race/frame_driver.h"

namespace tarvek {
namespace {

void toggle(std::atomic<bool>& flag) { flag.store(!flag.load()); }

}  // namespace

void serveHotkeys(ModulePlatform& platform) {
    uint32_t error = 0;
    if (!platform.registerHotkey(kGoldHotkeyId, 'G', error)) {
        logLine("failed to register consumed Ctrl+G hotkey; shortcut disabled (error " + std::to_string(error) + ")");
        return;
    }
    startupState().hotkeyRegistered = true;
    const bool blueRegistered = platform.registerHotkey(kBlueHotkeyId, 'F', error);
    if (!blueRegistered) {
        logLine("failed to register consumed Ctrl+F hotkey; PR shortcut disabled (error " + std::to_string(error) +
                ")");
    }

    FrameDriver& driver = frameDriver();
    for (;;) {
        int hotkey = -1;
        if (platform.nextMessage(hotkey) <= 0) break;
        if (hotkey == kGoldHotkeyId || hotkey == kBlueHotkeyId) {
            // A hotkey pressed while another application is in front belongs to that application.
            if (platform.foregroundIsThisProcess())
                toggle(hotkey == kGoldHotkeyId ? driver.goldVisible : driver.blueVisible);
        } else {
            platform.dispatchMessage();
        }
    }

    platform.unregisterHotkey(kGoldHotkeyId);
    if (blueRegistered) platform.unregisterHotkey(kBlueHotkeyId);
    startupState().hotkeyRegistered = false;
}

}  // namespace tarvek
