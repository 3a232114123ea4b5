#pragma once
// Small text and counter helpers shared by every subsystem.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvek {

// Trims space, tab, CR and LF at both ends (not VT or FF): the set used for settings,
// host strings and chat text.
std::string_view trimHostText(std::string_view text);

constexpr char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
std::string asciiLower(std::string_view text);
bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Lower-case hexadecimal without leading zeros ("0" for zero).
std::string hexLower(uint64_t value);

enum class HexCase { Lower, Upper };
// Two hexadecimal digits per byte, high nibble first.
void appendHexByte(std::string& out, uint8_t byte, HexCase letters);
std::string hexBytes(const uint8_t* bytes, size_t count, HexCase letters);

// Counters that grow with play stop at the top instead of wrapping.
constexpr uint32_t saturatingAdd(uint32_t a, uint32_t b) {
    return a > UINT32_MAX - b ? UINT32_MAX : a + b;
}
constexpr uint32_t saturatingIncrement(uint32_t a) { return saturatingAdd(a, 1); }
constexpr uint64_t saturatingAdd64(uint64_t a, uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}
int64_t saturatingSub64(int64_t a, int64_t b);

}  // namespace tarvek
