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

// Code page 1250 holds each letter kept here as 1252 does: the expectations
// hold under either.
TEST(MarkedConversion, MarksEachCharacterTheCodePageCannotHoldAndKeepsTheRest)
{
    const std::wstring inside = L"\u00dcbung \u20ac \"x\" \\ 1";
    CString exact;
    ASSERT_TRUE(WideToAnsiExactly(inside, exact));
    EXPECT_EQ(exact.Str(), WideToAnsiMarked(inside).Str());
    EXPECT_EQ("", WideToAnsiMarked(L"").Str());

    EXPECT_EQ("[U+0410][U+0440]-\xfc", WideToAnsiMarked(L"\u0410\u0440-\u00fc").Str());
    EXPECT_EQ("[U+03A9]mega", WideToAnsiMarked(L"\u03a9mega").Str());
    EXPECT_EQ("a[U+4E2D]b", WideToAnsiMarked(L"a\u4e2db").Str());
    EXPECT_EQ("Mail [U+1F4E7]!", WideToAnsiMarked(L"Mail \U0001F4E7!").Str());
    EXPECT_EQ("x[U+D83D]y[U+DCE7]", WideToAnsiMarked(L"x\xd83dy\xdce7").Str());
    EXPECT_EQ("a[U+0000]b", WideToAnsiMarked(std::wstring(L"a\0b", 3)).Str());
}

TEST(Utf8Conversion, Utf8BytesBecomeTheirLetters)
{
    EXPECT_EQ(L"\u00dc\u20ac", Utf8ToWide("\xc3\x9c\xe2\x82\xac"));
}
} // namespace
