#include <gtest/gtest.h>

#include "host/module_path.h"
#include "host/text.h"

namespace tarvek {
namespace {

TEST(Text, TrimTakesSpaceTabCrLfButNotVtOrFf) {
    EXPECT_EQ(trimHostText(" \t\r\nname\n\r\t "), "name");
    EXPECT_EQ(trimHostText("\vname\f"), "\vname\f");
    EXPECT_EQ(trimHostText(" \t "), "");
    EXPECT_EQ(trimHostText("a b"), "a b");
}

TEST(Text, SaturatingCountersStopAtTheTop) {
    EXPECT_EQ(saturatingIncrement(0xFFFFFFFEu), 0xFFFFFFFFu);
    EXPECT_EQ(saturatingIncrement(0xFFFFFFFFu), 0xFFFFFFFFu);
    EXPECT_EQ(saturatingAdd(0x80000000u, 0x80000000u), 0xFFFFFFFFu);
    EXPECT_EQ(saturatingAdd64(UINT64_MAX - 1, 5), UINT64_MAX);
    EXPECT_EQ(saturatingSub64(INT64_MIN, 1), INT64_MIN);
    EXPECT_EQ(saturatingSub64(INT64_MAX, -1), INT64_MAX);
    EXPECT_EQ(saturatingSub64(-5, 7), -12);
}

TEST(Text, HexIsLowerCaseWithoutLeadingZeros) {
    EXPECT_EQ(hexLower(0), "0");
    EXPECT_EQ(hexLower(0x00575BC0), "575bc0");
    EXPECT_EQ(hexLower(0xFFFFFFFFu), "ffffffff");
}

TEST(ModulePath, DirectoryIsEverythingBeforeTheLastSeparator) {
    EXPECT_EQ(moduleDirectoryOf("C:\\Games\\WA\\wkTarvek.dll"), "C:\\Games\\WA");
    EXPECT_EQ(moduleDirectoryOf("C:/Games\\WA/wkTarvek.dll"), "C:/Games\\WA");
    EXPECT_EQ(moduleDirectoryOf("wkTarvek.dll"), ".");
    EXPECT_EQ(moduleDirectoryOf("\\wkTarvek.dll"), "");
}

TEST(ModulePath, JoinKeepsDriveAbsoluteNamesOnly) {
    const std::pair<const char*, const char*> joins[] = {
        {"ghost.tkghost", "C:\\WA\\ghost.tkghost"}, {"D:\\g\\x.tkghost", "D:\\g\\x.tkghost"}, {"d:/x.tkghost", "d:/x.tkghost"},
        {"\\\\server\\x", "C:\\WA\\\\\\server\\x"}, {"\\x", "C:\\WA\\\\x"}, {"D:x", "C:\\WA\\D:x"}, {"1:\\x", "C:\\WA\\1:\\x"}};
    for (const auto& [name, joined] : joins) EXPECT_EQ(joinModulePath("C:\\WA", name), joined) << name;
    EXPECT_EQ(joinModulePath("", "x.ini"), "x.ini");
}

}  // namespace
}  // namespace tarvek
