#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/private_profile.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

using Lines = std::vector<std::string>;

TEST(PrivateProfile, NamesAreCaseInsensitiveAndTrimmed) {
    const std::string ini = "\xEF\xBB\xBF  [ General ]  \r\n  PlayerName  =  Mossy Frog  \r\nEnabled\t=\t0\r\n";
    EXPECT_EQ(profileStringFromText(ini, "general", "PLAYERNAME", "x"), "Mossy Frog");
    EXPECT_EQ(profileStringFromText(ini, " GENERAL\t", " playername ", "x"), "Mossy Frog");
    EXPECT_EQ(profileIntFromText(ini, "General", "enabled", 5), 0);
    EXPECT_EQ(profileStringFromText(ini, "General", "Missing", "fallback  "), "fallback");
    EXPECT_EQ(profileStringFromText(ini, "Other", "PlayerName", "x"), "x");
    // A section listing matches the name as given, without trimming it.
    EXPECT_EQ(profileSectionFromText(ini, "general"), (Lines{"PlayerName=Mossy Frog", "Enabled=0"}));
    EXPECT_EQ(profileSectionFromText(ini, " general"), Lines{});
}

TEST(PrivateProfile, LinesEndAtAnyRunOfCrAndLf) {
    const std::string ini = "[M]\rk1=v1\rk2=v2\r\n\n\nk3=v3\n\r\nk4 = v4";
    EXPECT_EQ(profileSectionFromText(ini, "M"), (Lines{"k1=v1", "k2=v2", "k3=v3", "k4=v4"}));
}

TEST(PrivateProfile, OnlyTheFirstSectionAndKeyOfANameCount) {
    const std::string ini = "[D]\nk=first\nK=second\nbare\n[d]\nk=third\nother=x\n";
    EXPECT_EQ(profileStringFromText(ini, "D", "k", "fb"), "first");
    EXPECT_EQ(profileStringFromText(ini, "D", "other", "fb"), "fb");
    // A line without '=' is listed but has no value.
    EXPECT_EQ(profileStringFromText(ini, "D", "bare", "fb"), "fb");
    EXPECT_EQ(profileSectionFromText(ini, "d"), (Lines{"k=first", "K=second", "bare"}));
}

TEST(PrivateProfile, HeadersCommentsAndNamelessLines) {
    const std::string ini =
        "[Unclosed\nk1=1\n[Trail]ing text\nk2=2\n[A]]\nk3=3\n;c=4\n# h=5\n=first\n=dropped\nk6=6\n==x\n";
    EXPECT_EQ(profileStringFromText(ini, "Trail", "k2", ""), "2");
    EXPECT_EQ(profileStringFromText(ini, "Unclosed", "k1", "none"), "none");
    EXPECT_EQ(profileStringFromText(ini, "A]", "k3", ""), "3");
    EXPECT_EQ(profileStringFromText(ini, "A]", ";c", "none"), "4");
    EXPECT_EQ(profileStringFromText(ini, "A]", "# h", "none"), "5");
    EXPECT_EQ(profileSectionFromText(ini, "A]"), (Lines{"k3=3", "# h=5", "=first", "k6=6", "==x"}));
    EXPECT_EQ(profileStringFromText(ini, "A]", "", "fb"), "");
}

TEST(PrivateProfile, QuotesAreRemovedOnlyInPairs) {
    const std::string ini = "[Q]\nA=\"quoted\"\nB='single'\nC=\"mismatch'\nD=\"\nE=\"\"\nI='\"mixed\"'\n";
    EXPECT_EQ(profileStringFromText(ini, "Q", "A", ""), "quoted");
    EXPECT_EQ(profileStringFromText(ini, "Q", "B", ""), "single");
    EXPECT_EQ(profileStringFromText(ini, "Q", "C", ""), "\"mismatch'");
    EXPECT_EQ(profileStringFromText(ini, "Q", "D", ""), "\"");
    EXPECT_EQ(profileStringFromText(ini, "Q", "E", "fb"), "");
    EXPECT_EQ(profileStringFromText(ini, "Q", "I", ""), "\"mixed\"");
    // The unquoted text fits a buffer of its length plus the NUL.
    EXPECT_EQ(profileStringFromText(ini, "Q", "A", "", 7), "quoted");
    EXPECT_EQ(profileStringFromText(ini, "Q", "A", "", 6), "quote");
    // A section listing keeps the quotes.
    EXPECT_EQ(profileSectionFromText(ini, "Q")[0], "A=\"quoted\"");
}

TEST(PrivateProfile, ValuesAndSectionsAreCutToTheirBuffers) {
    const std::string longValue(1500, 'v');
    std::string ini = "[L]\nlong=" + longValue + "\n[Many]\n";
    for (int i = 0; i < 400; ++i) ini += "key" + std::to_string(i) + "=value" + std::to_string(i) + "\n";
    EXPECT_EQ(profileStringFromText(ini, "L", "long", ""), std::string(1023, 'v'));
    EXPECT_EQ(profileStringFromText(ini, "L", "long", "", 4), "vvv");
    EXPECT_EQ(profileStringFromText(ini, "L", "long", "", 1), "");

    size_t bytes = 1;  // the list's final NUL
    const Lines lines = profileSectionFromText(ini, "Many");
    for (const auto& line : lines) bytes += line.size() + 1;
    EXPECT_LE(bytes, 4096u);
    EXPECT_GT(bytes, 4096u - 20);
    EXPECT_EQ(lines.front(), "key0=value0");
    // The last line is cut to what is left, even inside its name.
    EXPECT_EQ(profileSectionFromText(ini, "Many", 15), (Lines{"key0=value0", "k"}));
    EXPECT_EQ(profileSectionFromText(ini, "Many", 6), (Lines{"key0"}));
    EXPECT_EQ(profileSectionFromText(ini, "Many", 8), (Lines{"key0=v"}));
    EXPECT_EQ(profileSectionFromText(ini, "Many", 2), Lines{});
}

TEST(PrivateProfile, IntegersReadLikeTheWindowsFunction) {
    const std::string ini =
        "[N]\na=-12x\nb=+7\nc=0x10\nd=\" 42\"\ne=4294967296\nf=4294967297\ng=-2147483649\nh=2147483648\n"
        "i=abc\nj=\nk=\t 42\nl=0X10\nm=0b101\nn=0o17\np=--5\nq=0x\nr=0xFFFFFFFF\ns=12 34\nt='-3'\n"
        "u=000000000000000000000000000000042\nv=\"\x01\x1f-8\"\nbare\n";
    const std::pair<const char*, int> expected[] = {
        {"a", -12}, {"b", 7}, {"c", 16}, {"d", 42}, {"e", 0}, {"f", 1}, {"g", 2147483647}, {"h", INT32_MIN},
        {"i", 0}, {"k", 42}, {"l", 0}, {"m", 5}, {"n", 15}, {"p", 0}, {"q", 0}, {"r", -1}, {"s", 12}, {"t", -3},
        {"u", 0}, {"v", -8}};
    for (const auto& [key, value] : expected) EXPECT_EQ(profileIntFromText(ini, "N", key, 99), value) << key;
    // An empty value, a line without '=' and a missing key read as the fallback.
    EXPECT_EQ(profileIntFromText(ini, "N", "j", 99), 99);
    EXPECT_EQ(profileIntFromText(ini, "N", "bare", 99), 99);
    EXPECT_EQ(profileIntFromText(ini, "N", "missing", -4), -4);
}

TEST(PrivateProfile, NulBytesEndNamesAndValues) {
    const std::string ini("[N]\nk=a\0b\nc\0d=e\n", 17);
    EXPECT_EQ(profileStringFromText(ini, "N", "k", ""), "a");
    EXPECT_EQ(profileStringFromText(ini, "N", "c", ""), "e");
}

TEST(PrivateProfile, ReadsFilesAndFallsBackWhenMissing) {
    testing::TempDir dir;
    const std::string path = dir.write("wkTarvek.ini", "[General]\nPlayerName=Frog\nEnabled=0x1\n");
    EXPECT_EQ(readProfileString(path, "GENERAL", "playername", "x"), "Frog");
    EXPECT_EQ(readProfileInt(path, "General", "Enabled", 0), 1);
    EXPECT_EQ(readProfileSection(path, "general"), (Lines{"PlayerName=Frog", "Enabled=0x1"}));
    const std::string missing = dir.file("none.ini");
    EXPECT_EQ(readProfileString(missing, "General", "PlayerName", "x"), "x");
    EXPECT_EQ(readProfileInt(missing, "General", "Enabled", 3), 3);
    EXPECT_EQ(readProfileSection(missing, "General"), Lines{});
}

}  // namespace
}  // namespace tarvek
