#include "sync/windows_error_text.h"

namespace tarvek {

std::string windowsErrorText(std::string_view what, uint32_t code) {
    return std::string(what) + " failed (Windows error " + std::to_string(code) + ")";
}

}  // namespace tarvek
