#include "sync/utf8_to_wide.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "sync/sync_error.h"

namespace tarvek {

void checkConvertibleLength(std::string_view name, size_t byteCount) {
    if (byteCount > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw SyncError(SyncErrorKind::InvalidRequest, std::string(name) + " is too long");
}

std::u16string utf8ToWide(std::string_view name, std::string_view text) {
    if (text.empty()) return {};
    checkConvertibleLength(name, text.size());
    std::optional<std::u16string> wide = utf8ToUtf16Strict(text);
    if (!wide) throw SyncError(SyncErrorKind::InvalidRequest, std::string(name) + " is not valid UTF-8");
    return std::move(*wide);
}

}  // namespace tarvek
