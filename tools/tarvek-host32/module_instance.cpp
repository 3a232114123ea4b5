#include "tools/tarvek-host32/module_instance.h"

#include <tlhelp32.h>

#include <algorithm>

namespace tarvek::host32 {
namespace {

std::vector<DWORD> processThreads() {
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ids.push_back(entry.th32ThreadID);
    CloseHandle(snapshot);
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool threadEnded(DWORD id) {
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, id);
    if (!thread) return true;
    const bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
}

}  // namespace

ModuleInstance::ModuleInstance(const std::wstring& path) {
    const auto before = processThreads();
    handle_ = LoadLibraryW(path.c_str());
    if (!handle_) {
        error_ = "LoadLibrary failed (Windows error " + std::to_string(GetLastError()) + ")";
        return;
    }
    const auto after = processThreads();
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(threads_));
}

HostAddr ModuleInstance::base() const { return static_cast<HostAddr>(reinterpret_cast<uintptr_t>(handle_)); }

uint32_t ModuleInstance::size() const {
    if (!handle_) return 0;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(handle_);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(handle_) + dos->e_lfanew);
    return nt->OptionalHeader.SizeOfImage;
}

bool ModuleInstance::waitForStartUp(DWORD timeoutMs) const {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        bool allEnded = true;
        for (DWORD id : threads_) {
            if (threadEnded(id)) continue;
            allEnded = false;
            // Posting succeeds only to a thread that has a message queue; WM_NULL does nothing.
            if (PostThreadMessageW(id, WM_NULL, 0, 0)) return true;
        }
        if (allEnded) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
}

size_t ModuleInstance::retire(DWORD timeoutMs) const {
    size_t ended = 0;
    for (DWORD id : threads_) {
        if (PostThreadMessageW(id, WM_QUIT, 0, 0)) {
            if (HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, id)) {
                WaitForSingleObject(thread, timeoutMs);
                CloseHandle(thread);
            }
        }
        ended += threadEnded(id);
    }
    return ended;
}

}  // namespace tarvek::host32
