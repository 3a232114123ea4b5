#include "host/private_profile.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "host/file_path.h"
#include "host/text.h"

namespace tarvek {
namespace {

bool isProfileSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimProfile(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && isProfileSpace(s[b])) ++b;
    while (e > b && isProfileSpace(s[e - 1])) --e;
    return s.substr(b, e - b);
}

struct Entry {
    std::string_view key;
    std::optional<std::string_view> value;  // none for a line without '='
};

// Visits the entries of the first section whose name matches; returns false when there is none.
template <typename Fn>
bool forEachEntry(std::string_view text, std::string_view section, Fn&& fn) {
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    bool inSection = false;
    bool found = false;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = trimProfile(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;
        if (line.front() == '[') {
            const size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                if (found) return true;  // only the first matching section counts
                inSection = equalsIgnoreAsciiCase(trimProfile(line.substr(1, close - 1)), section);
                found = inSection;
                continue;
            }
        }
        if (!inSection || line.front() == ';') continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            if (!fn(Entry{line, std::nullopt})) return true;
        } else if (!fn(Entry{trimProfile(line.substr(0, eq)), trimProfile(line.substr(eq + 1))})) {
            return true;
        }
    }
    return found;
}

std::optional<std::string> findValue(std::string_view text, std::string_view section, std::string_view key) {
    std::optional<std::string> result;
    forEachEntry(text, section, [&](const Entry& entry) {
        if (!equalsIgnoreAsciiCase(entry.key, key)) return true;
        std::string_view value = entry.value.value_or(std::string_view{});
        // A value enclosed in one kind of quote loses the quotes.
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        result = std::string(value);
        return false;
    });
    return result;
}

std::string readWholeFile(const std::string& path, bool& ok) {
    std::ifstream in(openablePath(path), std::ios::binary);
    ok = static_cast<bool>(in);
    if (!ok) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int parseLeadingInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isProfileSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + uint32_t(text[i] - '0');
    return static_cast<int>(negative ? 0u - value : value);
}

}  // namespace

std::string profileStringFromText(std::string_view text, std::string_view section, std::string_view key,
                                  std::string_view fallback, size_t bufferSize) {
    if (bufferSize == 0) return {};
    std::string value = findValue(text, section, key).value_or(std::string(fallback));
    if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
    return value;
}

int profileIntFromText(std::string_view text, std::string_view section, std::string_view key, int fallback) {
    const auto value = findValue(text, section, key);
    if (!value) return fallback;
    return parseLeadingInt(*value);
}

std::vector<std::string> profileSectionFromText(std::string_view text, std::string_view section, size_t bufferSize) {
    std::vector<std::string> lines;
    size_t used = 1;  // the final NUL of the double-NUL list
    forEachEntry(text, section, [&](const Entry& entry) {
        std::string line(entry.key);
        if (entry.value) line += "=" + std::string(*entry.value);
        if (used + line.size() + 1 > bufferSize) return false;
        used += line.size() + 1;
        lines.push_back(std::move(line));
        return true;
    });
    return lines;
}

std::string readProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view fallback, size_t bufferSize) {
    bool ok = false;
    const std::string text = readWholeFile(path, ok);
    return profileStringFromText(ok ? text : std::string_view{}, section, key, fallback, bufferSize);
}

int readProfileInt(const std::string& path, std::string_view section, std::string_view key, int fallback) {
    bool ok = false;
    const std::string text = readWholeFile(path, ok);
    return profileIntFromText(ok ? text : std::string_view{}, section, key, fallback);
}

std::vector<std::string> readProfileSection(const std::string& path, std::string_view section, size_t bufferSize) {
    bool ok = false;
    const std::string text = readWholeFile(path, ok);
    return profileSectionFromText(ok ? text : std::string_view{}, section, bufferSize);
}

}  // namespace tarvek
