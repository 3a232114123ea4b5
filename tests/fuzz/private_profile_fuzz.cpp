// INI text from a player or a server cache: every read must stay within its buffer and agree
// with the section listing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/private_profile.h"
#include "host/text.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool isProfileSpace(char c) { return (c >= '\t' && c <= '\r') || c == '\x1a' || c == ' '; }

// The name of the first section header in the text, roughly as a player would write it.
std::string firstHeaderName(std::string_view text) {
    const size_t open = text.find('[');
    if (open == std::string_view::npos) return "General";
    const size_t close = text.find(']', open);
    return std::string(text.substr(open + 1, close == std::string_view::npos ? 8 : close - open - 1));
}

void checkSection(std::string_view text, const std::string& section, size_t bufferSize) {
    const auto lines = tarvek::profileSectionFromText(text, section, bufferSize);
    size_t used = 1;  // the list's final NUL
    for (const auto& line : lines) {
        check(!line.empty());
        check(line.find_first_of(std::string_view("\0\r\n", 3)) == std::string::npos);
        used += line.size() + 1;
    }
    check(lines.empty() || used <= bufferSize);

    // With a buffer that holds every line, each first occurrence of a name reads as its value.
    if (bufferSize != tarvek::kProfileSectionBuffer || used + 64 > bufferSize) return;
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t eq = lines[i].find('=');
        const std::string name = lines[i].substr(0, eq);
        // A lookup trims the key it is given; a stored name can end in white space when a NUL
        // byte cut it, and is then out of reach.
        if (name.empty() || isProfileSpace(name.front()) || isProfileSpace(name.back())) continue;
        bool first = true;
        for (size_t j = 0; j < i && first; ++j)
            first = !tarvek::equalsIgnoreAsciiCase(std::string_view(lines[j]).substr(0, lines[j].find('=')), name);
        if (!first || eq == std::string::npos) continue;
        std::string_view value = std::string_view(lines[i]).substr(eq + 1);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        if (value.size() >= tarvek::kProfileValueBuffer) continue;
        check(tarvek::profileStringFromText(text, section, name, "fallback") == value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks the buffer sizes; the rest is the file.
    const size_t selector = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t valueBuffer = selector % 4 == 0 ? tarvek::kProfileValueBuffer : selector % 40;
    const size_t sectionBuffer = selector % 3 == 0 ? tarvek::kProfileSectionBuffer : selector % 64;

    const std::string section = firstHeaderName(text);
    for (const std::string& name : {section, std::string("General"), std::string()}) {
        checkSection(text, name, sectionBuffer);
        checkSection(text, name, tarvek::kProfileSectionBuffer);
        for (const char* key : {"Key", "PlayerName", "a", ""}) {
            const std::string value = tarvek::profileStringFromText(text, name, key, "fallback", valueBuffer);
            check(valueBuffer == 0 ? value.empty() : value.size() < valueBuffer);
            check(value.find('\0') == std::string::npos);
            const int number = tarvek::profileIntFromText(text, name, key, -77);
            if (tarvek::profileStringFromText(text, name, key, "").empty()) check(number == -77);
        }
    }
    return 0;
}
