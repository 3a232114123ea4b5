// The portable INI reader's rules in one table; the Windows build also compares it, query by
// query, with GetPrivateProfile*A (tests/win32/private_profile_differential_test.cpp).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/private_profile.h"

namespace tarvek {
namespace {

using Lines = std::vector<std::string>;
using namespace std::string_literals;

TEST(PrivateProfile, StringAndIntegerReads) {
    const std::string ini =
        "\xEF\xBB\xBF  [ General ]  \r\n  Name  =  Mossy Frog  \r\nk1=v1\rk2=v2\r\n\n\nbare\n=nameless\n"
        "[D]\nk=first\nK=second\n[d]\nk=third\nother=x\n[A]]\n;c=4\nA=\"quoted\"\nB='single'\nC=\"mismatch'\nD=\"\nE=\"\"\n"
        "N=a\0b\n[N]\na=-12x\nb=+7\nc=0x10\nd=\" 42\"\ne=4294967296\nf=4294967297\ng=-2147483649\nh=2147483648\n"
        "i=abc\nk=\t 42\nl=0X10\nm=0b101\nn=0o17\np=--5\nq=0x\nr=0xFFFFFFFF\ns=12 34\nt='-3'\n"
        "u=000000000000000000000000000000042\nv=\"\x01\x1f-8\"\nj=\n"s;
    const struct {
        const char *section, *key, *value;
    } strings[] = {{"general", " NAME\t", "Mossy Frog"}, {"General", "k2", "v2"}, {"General", "bare", "fb"},
                   {"D", "k", "first"}, {"D", "other", "fb"}, {"A]", ";c", "4"},
                   {"A]", "A", "quoted"}, {"A]", "B", "single"}, {"A]", "C", "\"mismatch'"}, {"A]", "D", "\""},
                   {"A]", "E", ""}, {"A]", "N", "a"}, {"Other", "Name", "fb"}, {"General", "Missing", "fb"}};
    for (const auto& c : strings) EXPECT_EQ(profileStringFromText(ini, c.section, c.key, "fb  "), c.value) << c.key;
    // Tabs, comment-like names, names with inner spaces, headers with text after them and keys
    // before any section.
    const std::string odd = "loose=1\n[T]\n\tk\t=\tv\tx\t\n#h=2\nkey 4 = four\n\v k5 =5\n[Trail]ing\nk2=2\n[x]=y\nk7=7\n";
    const struct {
        const char *section, *key, *value;
    } oddStrings[] = {{"T", "k", "v\tx"}, {"T", "#h", "2"}, {"T", "key 4", "four"}, {"T", "\v k5", "5"},
                      {"T", "loose", "fb"}, {"Trail", "k2", "2"}, {"x", "k7", "7"}};
    for (const auto& c : oddStrings) EXPECT_EQ(profileStringFromText(odd, c.section, c.key, "fb"), c.value) << c.key;
    const std::pair<const char*, int> integers[] = {
        {"a", -12}, {"b", 7},  {"c", 16}, {"d", 42},  {"e", 0},  {"f", 1},  {"g", 2147483647}, {"h", INT32_MIN},
        {"i", 0},   {"k", 42}, {"l", 0},  {"m", 5},   {"n", 15}, {"p", 0},  {"q", 0},          {"r", -1},
        {"s", 12},  {"t", -3}, {"u", 0},  {"v", -8},  {"j", 99}, {"missing", 99}};
    for (const auto& [key, value] : integers) EXPECT_EQ(profileIntFromText(ini, "N", key, 99), value) << key;
    // A listing matches the section name as given and keeps quotes and nameless first lines.
    EXPECT_EQ(profileSectionFromText(ini, "general"), (Lines{"Name=Mossy Frog", "k1=v1", "k2=v2", "bare", "=nameless"}));
    EXPECT_EQ(profileSectionFromText(ini, " general"), Lines{});
}

TEST(PrivateProfile, ValuesAndSectionsAreCutToTheirBuffers) {
    std::string ini = "[L]\nlong=" + std::string(1500, 'v') + "\nq=\"quoted\"\n[Many]\n";
    for (int i = 0; i < 400; ++i) ini += "key" + std::to_string(i) + "=value" + std::to_string(i) + "\n";
    EXPECT_EQ(profileStringFromText(ini, "L", "long", ""), std::string(1023, 'v'));
    EXPECT_EQ(profileStringFromText(ini, "L", "long", "", 4), "vvv");
    EXPECT_EQ(profileStringFromText(ini, "L", "long", "", 1), "");
    EXPECT_EQ(profileStringFromText(ini, "L", "q", "", 7), "quoted");  // unquoted text plus the NUL
    EXPECT_EQ(profileStringFromText(ini, "L", "q", "", 6), "quote");
    size_t bytes = 1;  // the list's final NUL
    for (const auto& line : profileSectionFromText(ini, "Many")) bytes += line.size() + 1;
    EXPECT_LE(bytes, 4096u);
    EXPECT_GT(bytes, 4096u - 20);
    // The last line is cut to what is left, even inside its name.
    EXPECT_EQ(profileSectionFromText(ini, "Many", 15), (Lines{"key0=value0", "k"}));
    EXPECT_EQ(profileSectionFromText(ini, "Many", 2), Lines{});
}

}  // namespace
}  // namespace tarvek
