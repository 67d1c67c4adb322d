#include "library/base/TextConversion.h"

#include <gtest/gtest.h>

namespace
{
TEST(ExactConversion, KeepsEveryCharacterOfTheCodePage)
{
    CString ansi = "untouched";
    ASSERT_TRUE(WideToAnsiExactly(L"\u00dcbung \u00e4\u00f6 \"x\" \\ 1", ansi));
    EXPECT_EQ("\xdc"
              "bung \xe4\xf6 \"x\" \\ 1",
              ansi.Str());
    ASSERT_TRUE(WideToAnsiExactly(L"", ansi));
    EXPECT_EQ("", ansi.Str());
}

TEST(ExactConversion, RefusesABestFitAndLeavesTheOutputAlone)
{
    // A plain conversion would turn Omega into "O" in code page 1252.
    CString ansi = "untouched";
    EXPECT_FALSE(WideToAnsiExactly(L"\u03a9mega", ansi));
    EXPECT_FALSE(WideToAnsiExactly(L"Archive \u2460", ansi));
    EXPECT_FALSE(WideToAnsiExactly(std::wstring(L"a\0b", 3), ansi));
    EXPECT_EQ("untouched", ansi.Str());
}

TEST(Utf8Conversion, CodePageLettersBecomeTheirUtf8Bytes)
{
    EXPECT_EQ("\xc3\x9c"
              "bung \xc3\xa4",
              AnsiToUtf8("\xdc"
                         "bung \xe4"));
    EXPECT_EQ("", AnsiToUtf8(""));
    EXPECT_EQ(L"\u00dc\u20ac", Utf8ToWide("\xc3\x9c\xe2\x82\xac"));
}
} // namespace
