// Library entry point of wkTarvek.dll. The loader lock is held here, so it only installs the
// map-source capture hook and starts the init thread; start-up proper runs on that thread.
#include <windows.h>

#include "module/hook_routines.h"
#include "module/startup.h"
#include "platform/win32/win32_host_memory.h"
#include "platform/win32/win32_module_platform.h"
#include "platform/x86/x86_hooks.h"

namespace {

// Everything the hooks and the init thread reach; it lives as long as the process.
struct Module {
    explicit Module(HMODULE handle) : platform(handle) {}

    tarvek::win32::Win32ModulePlatform platform;
    tarvek::win32::Win32HostMemory memory;
    tarvek::X86HostCalls calls;
    tarvek::ModuleHost host{memory, calls, tarvek::x86HookAddresses(tarvek::moduleHookRoutines())};
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE handle, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    DisableThreadLibraryCalls(handle);
    try {
        Module* module = new Module(handle);
        tarvek::attachModule(module->platform, module->host);
    } catch (...) {
        // No memory for the module: the game runs without it.
    }
    return TRUE;
}
