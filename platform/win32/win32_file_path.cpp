#include <windows.h>

#include <string>

#include "host/file_path.h"

namespace tarvek {

std::filesystem::path openablePath(std::string_view modulePath) {
    // A narrow path holds ANSI code-page bytes; std::filesystem::path would not read them so.
    const int size = static_cast<int>(modulePath.size());
    const int count = MultiByteToWideChar(CP_ACP, 0, modulePath.data(), size, nullptr, 0);
    if (count <= 0) return {};
    std::wstring wide(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_ACP, 0, modulePath.data(), size, wide.data(), count);
    return std::filesystem::path(wide);
}

}  // namespace tarvek
