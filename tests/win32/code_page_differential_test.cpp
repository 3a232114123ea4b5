// The portable code-page converter against MultiByteToWideChar and WideCharToMultiByte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/portable_code_pages.h"
#include "platform/win32/win32_code_pages.h"

namespace tarvek {
namespace {

constexpr uint32_t k1252 = 1252;  // the ANSI code page named outright: Wine's may differ

void expectSameConversions(const std::vector<std::string>& texts, uint32_t from, uint32_t to) {
    const win32::Win32CodePageConverter windows;
    const PortableCodePageConverter portable;
    for (const std::string& text : texts)
        ASSERT_EQ(convertCodePage(portable, text, from, to), convertCodePage(windows, text, from, to))
            << "text bytes " << ::testing::PrintToString(std::vector<uint8_t>(text.begin(), text.end()));
}

TEST(CodePageDifferential, EveryTwoByteSequenceBothWays) {
    std::vector<std::string> pairs;
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) pairs.push_back({static_cast<char>(a), static_cast<char>(b)});
    expectSameConversions(pairs, kUtf8CodePage, k1252);
    expectSameConversions(pairs, k1252, kUtf8CodePage);
}

TEST(CodePageDifferential, EveryBasicPlaneCharacterIntoWindows1252) {
    const win32::Win32CodePageConverter windows;
    const PortableCodePageConverter portable;
    for (char32_t c = 0x800; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::u16string unit(1, static_cast<char16_t>(c));
        ASSERT_EQ(portable.fromWide(unit, k1252), windows.fromWide(unit, k1252)) << "U+" << std::hex << unsigned(c);
    }
}

TEST(CodePageDifferential, MalformedAndLongerUtf8) {
    expectSameConversions({"\xC0\x80", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80",
                           "\xE2\x82", "a\xFF", "\x80", "\xF0\x9F\x98\x80", "Zo\xC3\xAB \xE2\x82\xAC", "\xEF\xBB\xBFx"},
                          kUtf8CodePage, k1252);
}

}  // namespace
}  // namespace tarvek
