#pragma once
// The player's keyboard: a window of this process in front, and key presses injected as input,
// so the system's own hotkey handling posts WM_HOTKEY to the thread that registered the key.
#include <windows.h>

#include <string>

namespace tarvek::host32 {

class PlayerKeys {
public:
    PlayerKeys();  // makes the game's window and brings it to the front
    ~PlayerKeys();
    PlayerKeys(const PlayerKeys&) = delete;
    PlayerKeys& operator=(const PlayerKeys&) = delete;

    // Ctrl and the key, down and up. Says what the system took and whether the game was in front.
    std::string pressWithControl(char key);

private:
    HWND window_ = nullptr;
};

}  // namespace tarvek::host32
