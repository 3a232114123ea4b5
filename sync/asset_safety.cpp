#include "sync/asset_safety.h"

#include <algorithm>
#include <array>

#include "host/text.h"
#include "sync/sync_error.h"
#include "sync/utf8_to_wide.h"

namespace tarvek {
namespace {

[[noreturn]] void unsafe(const char* message) { throw SyncError(SyncErrorKind::UnsafeAsset, message); }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isPrintableAscii(unsigned char byte) { return byte >= 0x21 && byte <= 0x7E; }

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// Names Windows maps to devices whatever the extension.
bool isReservedDeviceName(std::string_view lowerStem) {
    static constexpr std::array<std::string_view, 4> kPlain = {"con", "prn", "aux", "nul"};
    for (std::string_view name : kPlain)
        if (lowerStem == name) return true;
    if (lowerStem.size() == 4 && (lowerStem.substr(0, 3) == "com" || lowerStem.substr(0, 3) == "lpt"))
        return lowerStem[3] >= '1' && lowerStem[3] <= '9';
    return false;
}

void checkSegment(std::string_view segment) {
    if (segment.empty() || segment == "." || segment == ".." || segment.back() == ' ' || segment.back() == '.')
        unsafe("GhostFile contains an unsafe path segment");
    for (char c : segment) {
        const auto byte = static_cast<unsigned char>(c);
        if (!isPrintableAscii(byte) || std::string_view("<>\"|?*").find(c) != std::string_view::npos)
            unsafe("GhostFile contains unsafe characters");
    }
}

}  // namespace

std::string normalizeGhostUrl(std::string_view value) {
    if (value.empty() || value.size() > kMaxGhostUrlBytes) unsafe("catalog contains an unsafe ghost URL");
    if (value.substr(0, 2) == "//" || value.find("://") != std::string_view::npos ||
        value.find_first_of("\\#") != std::string_view::npos)
        unsafe("ghost URLs must be same-origin relative paths without fragments");
    std::string out;
    out.reserve(value.size() + 1);
    if (value.front() != '/') out.push_back('/');
    for (size_t i = 0; i < value.size(); ++i) {
        const auto byte = static_cast<unsigned char>(value[i]);
        if (!isPrintableAscii(byte)) unsafe("ghost URL contains unsafe characters");
        if (byte == '%') {
            const int high = i + 1 < value.size() ? hexValue(value[i + 1]) : -1;
            const int low = i + 2 < value.size() ? hexValue(value[i + 2]) : -1;
            if (high < 0 || low < 0) unsafe("ghost URL has invalid percent encoding");
            const int encoded = high * 16 + low;
            if (encoded < 0x20 || encoded == 0x7F || encoded == '\\')
                unsafe("ghost URL percent-encodes an unsafe character");
        }
    }
    out.append(value);
    return out;
}

CatalogAssetFile checkCatalogAssetFile(std::string_view value, std::string_view extension) {
    if (value.empty() || value.size() > kMaxAssetFileValueBytes || value.front() == '/' || value.front() == '\\' ||
        value.find(':') != std::string_view::npos)
        unsafe("catalog contains an unsafe GhostFile value");
    std::string fileKey;
    fileKey.reserve(value.size());
    size_t segmentCount = 0;
    std::string_view firstSegment, lastSegment;
    for (size_t begin = 0;;) {
        const size_t end = std::min(value.find_first_of("/\\", begin), value.size());
        const std::string_view segment = value.substr(begin, end - begin);
        checkSegment(segment);
        if (segmentCount > 0) fileKey.push_back('/');
        const size_t keyStart = fileKey.size();
        for (char c : segment) fileKey.push_back(lowerAscii(c));
        const std::string_view lowerSegment = std::string_view(fileKey).substr(keyStart);
        if (isReservedDeviceName(lowerSegment.substr(0, lowerSegment.find('.'))))
            unsafe("GhostFile uses a reserved Windows name");
        if (segmentCount == 0) firstSegment = segment;
        lastSegment = segment;
        ++segmentCount;
        if (end == value.size()) break;
        begin = end + 1;
    }
    std::string lowerExtension;
    for (char c : extension) lowerExtension.push_back(lowerAscii(c));
    if (!endsWith(fileKey, lowerExtension)) unsafe("catalog asset has an invalid extension");
    if (segmentCount != 2 || fileKey.compare(0, firstSegment.size(), "wktarvek.cache") != 0 ||
        firstSegment.size() != std::string_view("wktarvek.cache").size())
        unsafe("catalog asset must be stored directly below wkTarvek.cache");
    return {std::move(fileKey), std::filesystem::path(utf8ToWide("GhostFile", lastSegment))};
}

}  // namespace tarvek
