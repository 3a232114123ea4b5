#include "platform/win32/win32_module_platform.h"

#include "platform/win32/win32_platform.h"

namespace tarvek::win32 {

std::string Win32ModulePlatform::modulePath() {
    // Paths longer than MAX_PATH come back truncated to the buffer: grow it until one fits.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(module_, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return path.substr(0, length);
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

HostAddr Win32ModulePlatform::hostBase() {
    return static_cast<HostAddr>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr)));
}

DWORD WINAPI Win32ModulePlatform::threadStart(LPVOID self) {
    auto* platform = static_cast<Win32ModulePlatform*>(self);
    platform->threadProc_(platform->threadArgument_);
    return 0;
}

bool Win32ModulePlatform::startThread(void (*proc)(void*), void* argument) {
    threadProc_ = proc;
    threadArgument_ = argument;
    const HANDLE thread = CreateThread(nullptr, 0, &threadStart, this, 0, nullptr);
    if (!thread) return false;
    CloseHandle(thread);
    return true;
}

bool Win32ModulePlatform::registerHotkey(int id, char key, uint32_t& error) {
    // The thread's message queue first: Wine ties a hotkey registered before the queue exists to
    // no queue, so UnregisterHotKey cannot find it and the key stays taken (error 1409) for the
    // next copy of the module loaded into the process.
    MSG peeked;
    PeekMessageA(&peeked, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    if (RegisterHotKey(nullptr, id, MOD_CONTROL | MOD_NOREPEAT, static_cast<UINT>(key))) return true;
    error = GetLastError();
    return false;
}

void Win32ModulePlatform::unregisterHotkey(int id) { UnregisterHotKey(nullptr, id); }

int Win32ModulePlatform::nextMessage(int& hotkeyId) {
    const BOOL result = GetMessageA(&last_, nullptr, 0, 0);
    if (result <= 0) return result == 0 ? 0 : -1;
    hotkeyId = last_.message == WM_HOTKEY ? static_cast<int>(last_.wParam) : -1;
    return 1;
}

void Win32ModulePlatform::dispatchMessage() {
    TranslateMessage(&last_);
    DispatchMessageA(&last_);
}

bool Win32ModulePlatform::foregroundIsThisProcess() {
    const HWND window = GetForegroundWindow();
    if (!window) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

std::shared_ptr<const Platform> Win32ModulePlatform::services() {
    if (!services_) services_ = std::make_shared<Win32Platform>();
    return services_;
}

}  // namespace tarvek::win32
