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
    EXPECT_EQ(joinModulePath("C:\\WA", "ghost.tkghost"), "C:\\WA\\ghost.tkghost");
    EXPECT_EQ(joinModulePath("C:\\WA", "D:\\g\\x.tkghost"), "D:\\g\\x.tkghost");
    EXPECT_EQ(joinModulePath("C:\\WA", "d:/x.tkghost"), "d:/x.tkghost");
    EXPECT_EQ(joinModulePath("C:\\WA", "\\\\server\\x"), "C:\\WA\\\\\\server\\x");
    EXPECT_EQ(joinModulePath("C:\\WA", "\\x"), "C:\\WA\\\\x");
    EXPECT_EQ(joinModulePath("C:\\WA", "D:x"), "C:\\WA\\D:x");
    EXPECT_EQ(joinModulePath("C:\\WA", "1:\\x"), "C:\\WA\\1:\\x");
    EXPECT_EQ(joinModulePath("", "x.ini"), "x.ini");
}

}  // namespace
}  // namespace tarvek
