// Library entry point of wkTarvek.dll. It only turns off the per-thread attach and detach
// notifications the module does not use: nothing starts an init thread or installs a hook yet,
// so the loaded library stays idle.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
    return TRUE;
}
