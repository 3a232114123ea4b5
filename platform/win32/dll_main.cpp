// Library entry point of wkTarvek.dll. The loader lock is held here, so it does the least work
// possible; start-up proper runs on the init thread.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
    return TRUE;
}
