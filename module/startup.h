#pragma once
// Module start-up: the library entry point's share, and the init thread that reads the settings,
// installs the hooks and serves the hotkeys for the rest of the process.
#include <atomic>
#include <cstdint>
#include <string>

#include "host/host_calls.h"
#include "module/hook_installer.h"
#include "module/module_platform.h"

namespace tarvek {

// The host side of the module: its memory, its routines and the hook routines of this build.
struct ModuleHost {
    HostMemory& memory;
    HostCalls& calls;
    HookAddresses hooks;
};

struct StartupState {
    HostAddr hostBase = 0;
    std::string goldGhostPath;  // module directory joined with the initial gold ghost file
    std::atomic<bool> hotkeyRegistered{false};
};

StartupState& startupState();

inline constexpr int kGoldHotkeyId = 0x4701;  // Ctrl+G: gold ghost
inline constexpr int kBlueHotkeyId = 0x4601;  // Ctrl+F: blue ghost

// Process attach: binds the host, installs the map-source capture (before any setting is read, so
// it is there even in a disabled module) and starts the init thread. Always true: the game loads
// on whatever happens here.
bool attachModule(ModulePlatform& platform, ModuleHost& host) noexcept;

// The init thread's work; returns 0 when it ends (at once when the module is disabled, else when
// the message loop ends).
uint32_t initThread(ModulePlatform& platform, ModuleHost& host) noexcept;

// Registers Ctrl+G (required) and Ctrl+F, serves the message loop, and unregisters after it.
void serveHotkeys(ModulePlatform& platform);

}  // namespace tarvek
