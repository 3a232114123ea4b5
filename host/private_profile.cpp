#include "host/private_profile.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>

#include "host/file_path.h"
#include "host/text.h"

// The rules follow what the Windows private-profile functions do (as Wine implements them, the
// one implementation we can run beside this reader), also where their documentation is silent:
//  - Lines end at any run of CR and LF; names and values are trimmed of TAB, LF, VT, FF, CR,
//    Ctrl+Z and space. A leading UTF-8 byte-order mark is skipped (Windows proper would read it
//    as part of the first line); every other byte is kept as stored, so UTF-8 text after the mark
//    stays UTF-8, where Wine converts it to the ANSI code page. UTF-16 files are not read.
//  - "[" starts a section header only when the line also holds a "]"; the name is everything
//    between the "[" and the last "]", trimmed, and text after that "]" is ignored. A "[" line
//    without "]" is an ordinary line of the current section. '#' starts no comment.
//  - Only the first section with a matching name counts; later duplicates are never read. Within
//    it the first key with a matching name wins.
//  - A string value loses one pair of enclosing quotes (both " or both '); the same is done to the
//    fallback, which also loses trailing spaces. Wine cuts to the buffer before removing the
//    closing quote, so a quoted value that fits exactly loses one more character; that is a bug
//    (the documentation cuts only what does not fit) and this reader keeps the character.
//  - An integer read takes the first 29 characters of the value (its 30-character buffer) and
//    reads them as RtlUnicodeStringToInteger does: leading bytes up to space skipped, one sign,
//    "0x" / "0o" / "0b" select base 16 / 8 / 2, digits taken as far as they go, wrapping modulo
//    2^32. An empty value reads as the fallback, as in Wine (the documentation suggests 0).
//  - A section listing matches the name untrimmed, skips lines whose name starts with ';' and
//    lines without both name and '=', lists lines without '=' as the bare name and values as
//    written (quotes kept); of consecutive lines without a name only the first is kept.
//  - A NUL byte ends a name or value, as it ends the C string Windows keeps.
// Names are compared ignoring ASCII case only: the module's own names are ASCII, and folding
// other bytes would depend on the player's code page.
namespace tarvek {
namespace {

bool isProfileSpace(char c) { return (c >= '\t' && c <= '\r') || c == '\x1a' || c == ' '; }

std::string_view trimProfile(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && isProfileSpace(s[b])) ++b;
    while (e > b && isProfileSpace(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// Windows keeps names and values as C strings: an embedded NUL ends them.
std::string_view untilNul(std::string_view s) { return s.substr(0, s.find('\0')); }

struct Entry {
    std::string_view name;
    std::optional<std::string_view> value;  // none for a line without '='
};

// Calls fn for each entry of the first section named `section` until fn returns false.
template <typename Fn>
void forEachEntry(std::string_view text, std::string_view section, Fn&& fn) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    bool inSection = false;
    bool previousNameEmpty = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trimProfile(text.substr(pos, end - pos));
        pos = text.find_first_not_of("\r\n", end);
        if (pos == std::string_view::npos) pos = text.size();
        if (line.empty()) continue;

        const size_t close = line.front() == '[' ? line.rfind(']') : std::string_view::npos;
        if (close != std::string_view::npos) {
            if (inSection) return;
            inSection = equalsIgnoreAsciiCase(untilNul(trimProfile(line.substr(1, close - 1))), section);
            previousNameEmpty = false;
            continue;
        }
        if (!inSection) continue;
        const size_t eq = line.find('=');
        const std::string_view name = eq == std::string_view::npos ? line : trimProfile(line.substr(0, eq));
        // Of consecutive lines without a name only the first is kept.
        if (name.empty() && previousNameEmpty) continue;
        Entry entry{untilNul(name), std::nullopt};
        if (eq != std::string_view::npos) entry.value = untilNul(trimProfile(line.substr(eq + 1)));
        previousNameEmpty = entry.name.empty();
        if (!fn(entry)) return;
    }
}

// The stored value of key in section: nullopt when the section or key is missing, or the key's
// line has no '='.
std::optional<std::string_view> findValue(std::string_view text, std::string_view section, std::string_view key) {
    section = trimProfile(section);
    key = trimProfile(key);
    std::optional<std::string_view> result;
    forEachEntry(text, section, [&](const Entry& entry) {
        if (!equalsIgnoreAsciiCase(entry.name, key)) return true;
        result = entry.value;
        return false;
    });
    return result;
}

// Copies a value into a buffer of bufferSize characters: one pair of enclosing quotes is
// removed, then the text is cut to leave room for the NUL.
std::string copyEntry(std::string_view value, size_t bufferSize) {
    if (bufferSize == 0) return {};
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    if (quoted) value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, bufferSize - 1));
}

std::string_view withoutTrailingSpaces(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

int parseProfileInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        const char prefix = text[i + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10) i += 2;
    }
    uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i]);
        if (digit >= static_cast<int>(base)) break;
        value = value * base + static_cast<uint32_t>(digit);
    }
    return static_cast<int>(negative ? 0u - value : value);
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream in(openablePath(path), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Characters an integer read sees: its buffer holds 30 including the NUL.
constexpr size_t kProfileIntBuffer = 30;

}  // namespace

std::string profileStringFromText(std::string_view text, std::string_view section, std::string_view key,
                                  std::string_view fallback, size_t bufferSize) {
    // Windows reads nothing for an empty key name.
    if (key.empty()) return {};
    const std::optional<std::string_view> value = findValue(text, section, key);
    return copyEntry(value ? *value : withoutTrailingSpaces(fallback), bufferSize);
}

int profileIntFromText(std::string_view text, std::string_view section, std::string_view key, int fallback) {
    const std::string value = profileStringFromText(text, section, key, "", kProfileIntBuffer);
    return value.empty() ? fallback : parseProfileInt(value);
}

std::vector<std::string> profileSectionFromText(std::string_view text, std::string_view section, size_t bufferSize) {
    std::vector<std::string> lines;
    // Room left in the buffer of NUL-terminated lines; the list ends with a second NUL.
    size_t room = bufferSize;
    forEachEntry(text, section, [&](const Entry& entry) {
        if (room <= 2) return false;
        if ((entry.name.empty() && !entry.value) || entry.name.substr(0, 1) == ";") return true;
        std::string line(entry.name.substr(0, room - 2));
        room -= line.size() + 1;
        if (room >= 2 && entry.value) {
            const std::string_view value = entry.value->substr(0, room - 2);
            line += '=';
            line += value;
            room -= value.size() + 1;
        }
        lines.push_back(std::move(line));
        return room >= 2;
    });
    return lines;
}

std::string readProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view fallback, size_t bufferSize) {
    const std::optional<std::string> text = readWholeFile(path);
    return profileStringFromText(text ? *text : std::string_view{}, section, key, fallback, bufferSize);
}

int readProfileInt(const std::string& path, std::string_view section, std::string_view key, int fallback) {
    const std::optional<std::string> text = readWholeFile(path);
    return profileIntFromText(text ? *text : std::string_view{}, section, key, fallback);
}

std::vector<std::string> readProfileSection(const std::string& path, std::string_view section, size_t bufferSize) {
    const std::optional<std::string> text = readWholeFile(path);
    return profileSectionFromText(text ? *text : std::string_view{}, section, bufferSize);
}

ProfileText::ProfileText(const std::string& path) : text_(readWholeFile(path).value_or(std::string())) {}

std::string ProfileText::string(std::string_view section, std::string_view key, std::string_view fallback) const {
    return profileStringFromText(text_, section, key, fallback);
}

int ProfileText::integer(std::string_view section, std::string_view key, int fallback) const {
    return profileIntFromText(text_, section, key, fallback);
}

bool ProfileText::hasEntries(std::string_view section) const {
    return !profileSectionFromText(text_, section).empty();
}

}  // namespace tarvek
