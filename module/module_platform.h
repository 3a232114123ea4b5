#pragma once
// What the start-up needs from the operating system: its own file, the host's base, a thread,
// thread hotkeys with their message loop, the foreground window's process, and beside them the
// Platform object whose services the catalog worker uses. The DLL implements it with Win32, the
// simulated game with injected hotkeys.
#include <cstdint>
#include <memory>
#include <string>

#include "host/host_memory.h"
#include "host/platform.h"

namespace tarvek {

class ModulePlatform {
public:
    virtual ~ModulePlatform() = default;

    // The module's own file path.
    virtual std::string modulePath() = 0;
    // Load address of the process's main executable; 0 when there is none.
    virtual HostAddr hostBase() = 0;
    // Runs proc(argument) on a new thread with default attributes; the handle is not kept.
    virtual bool startThread(void (*proc)(void*), void* argument) = 0;

    // Registers Ctrl+key for the calling thread (no window, no auto-repeat). On failure, error
    // holds the platform's error code.
    virtual bool registerHotkey(int id, char key, uint32_t& error) = 0;
    virtual void unregisterHotkey(int id) = 0;
    // Waits for the thread's next message: above 0 a message (hotkeyId is its hotkey identifier,
    // or -1 when it is no hotkey message), 0 quit, below 0 failure.
    virtual int nextMessage(int& hotkeyId) = 0;
    // Translates and dispatches the message nextMessage returned last.
    virtual void dispatchMessage() = 0;
    // True when the foreground window belongs to this process.
    virtual bool foregroundIsThisProcess() = 0;

    // The platform's services (files, clock, hashing, HTTPS) for the catalog worker. Asked for on
    // the init thread only, so a platform may create them then rather than under the loader lock.
    virtual std::shared_ptr<const Platform> services() = 0;
};

}  // namespace tarvek
