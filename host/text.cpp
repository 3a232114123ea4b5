#include "host/text.h"

#include <limits>

namespace tarvek {

std::string_view trimHostText(std::string_view text) {
    auto isTrimmed = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isTrimmed(text[begin])) ++begin;
    while (end > begin && isTrimmed(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

namespace {
char hexDigit(unsigned nibble, HexCase letters) {
    return (letters == HexCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef")[nibble & 0xF];
}
}  // namespace

void appendHexByte(std::string& out, uint8_t byte, HexCase letters) {
    out.push_back(hexDigit(byte >> 4, letters));
    out.push_back(hexDigit(byte, letters));
}

std::string hexBytes(const uint8_t* bytes, size_t count, HexCase letters) {
    std::string out;
    out.reserve(2 * count);
    for (size_t i = 0; i < count; ++i) appendHexByte(out, bytes[i], letters);
    return out;
}

std::string hexLower(uint64_t value) {
    char buffer[16];
    int n = 0;
    do {
        buffer[n++] = hexDigit(static_cast<unsigned>(value), HexCase::Lower);
        value >>= 4;
    } while (value != 0);
    std::string out;
    while (n > 0) out.push_back(buffer[--n]);
    return out;
}

int64_t saturatingSub64(int64_t a, int64_t b) {
    int64_t result;
    if (__builtin_sub_overflow(a, b, &result))
        return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return result;
}

}  // namespace tarvek
