#pragma once
// The start-up's platform on Windows: the module's own handle and path, the main executable's
// base, a thread, thread hotkeys with GetMessage, the foreground window's process, and the
// Win32Platform services.
#include <windows.h>

#include "module/module_platform.h"

namespace tarvek::win32 {

class Win32ModulePlatform final : public ModulePlatform {
public:
    explicit Win32ModulePlatform(HMODULE module) : module_(module) {}

    std::string modulePath() override;
    HostAddr hostBase() override;
    bool startThread(void (*proc)(void*), void* argument) override;
    bool registerHotkey(int id, char key, uint32_t& error) override;
    void unregisterHotkey(int id) override;
    int nextMessage(int& hotkeyId) override;
    void dispatchMessage() override;
    bool foregroundIsThisProcess() override;
    std::shared_ptr<const Platform> services() override;

private:
    static DWORD WINAPI threadStart(LPVOID self);

    HMODULE module_;
    void (*threadProc_)(void*) = nullptr;
    void* threadArgument_ = nullptr;
    MSG last_{};
    std::shared_ptr<const Platform> services_;
};

}  // namespace tarvek::win32
