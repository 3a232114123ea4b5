#include "tools/tarvek-host32/player_keys.h"

namespace tarvek::host32 {
namespace {

INPUT keyEvent(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

PlayerKeys::PlayerKeys() {
    window_ = CreateWindowExW(0, L"STATIC", L"tarvek-host32", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 200,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) return;
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

PlayerKeys::~PlayerKeys() {
    if (window_) DestroyWindow(window_);
}

std::string PlayerKeys::pressWithControl(char key) {
    if (window_ && GetForegroundWindow() != window_) SetForegroundWindow(window_);
    const bool inFront = window_ && GetForegroundWindow() == window_;
    INPUT inputs[] = {keyEvent(VK_CONTROL, false), keyEvent(static_cast<WORD>(key), false),
                      keyEvent(static_cast<WORD>(key), true), keyEvent(VK_CONTROL, true)};
    const UINT sent = SendInput(4, inputs, sizeof(INPUT));
    // The window's own messages (the key presses among them) are taken and dropped.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    return std::string("Ctrl+") + key + ": " + std::to_string(sent) + " of 4 key events taken, game window " +
           (inFront ? "in front" : "not in front");
}

}  // namespace tarvek::host32
