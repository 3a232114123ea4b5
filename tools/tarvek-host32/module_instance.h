#pragma once
// One copy of wkTarvek.dll loaded into this process from a scenario's module directory. The
// module is never unloaded (its threads live as long as the process); a retired copy has only
// its hotkey loop ended, so the next copy can register the same hotkeys.
#include <windows.h>

#include <string>
#include <vector>

#include "host/host_memory.h"

namespace tarvek::host32 {

class ModuleInstance {
public:
    // Loads the library; on failure handle() is null and error() says why.
    explicit ModuleInstance(const std::wstring& path);

    HMODULE handle() const { return handle_; }
    const std::string& error() const { return error_; }
    HostAddr base() const;
    uint32_t size() const;  // the image size from the module's own headers

    // Waits until the module's start-up is done with the game's code: a thread it started has a
    // message queue (the hotkeys are registered only after every hook) or all of them have ended.
    // False when the time runs out first.
    bool waitForStartUp(DWORD timeoutMs) const;

    // Threads that appeared while the library loaded.
    size_t threadCount() const { return threads_.size(); }

    // Ends the message loops of the module's threads and waits for those threads to end; returns
    // how many of them have ended.
    size_t retire(DWORD timeoutMs) const;

private:
    HMODULE handle_ = nullptr;
    std::string error_;
    std::vector<DWORD> threads_;  // threads that appeared while the library loaded
};

}  // namespace tarvek::host32
